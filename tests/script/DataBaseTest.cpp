#include "DataBase.h"

#include "ContainerNode.h"
#include "DataNode.h"
#include "ScriptErrors.h"
#include "ScriptTest.h"

#include <fstream>
#include <sstream>

namespace {

using DataBaseTest = ScriptTest;

std::string bytesOf(const DataObject* data) {
    const auto* raw = dynamic_cast<const RawData*>(data);
    if (!raw)
        return "(no raw data)";
    return {reinterpret_cast<const char*>(raw->data()), raw->size()};
}

const FileNode& fileNamed(const DomCursor& cursor, const std::string& name) {
    return static_cast<const FileNode&>(*cursor.getRoot()->childByName(name));
}

// Names are unique per test: the data base lives as long as the process.
TEST_F(DataBaseTest, FileValuesStoreTheRawBytesOnce) {
    folder.write("db1.bin", std::string("a\r\n\0b", 5));
    auto cursor = load("file one db1.bin; file two db1.bin;");
    const DataObject* data = fileNamed(*cursor, "one").getData();
    EXPECT_EQ(bytesOf(data), std::string("a\r\n\0b", 5));
    EXPECT_EQ(fileNamed(*cursor, "two").getData(), data);

    // Loaded again later, the name is not read again.
    folder.write("db1.bin", "changed");
    auto again = load("file three db1.bin;", "again.scr");
    EXPECT_EQ(fileNamed(*again, "three").getData(), data);
    EXPECT_EQ(bytesOf(DataBase::instance().get("db1.bin")), std::string("a\r\n\0b", 5));
}

TEST_F(DataBaseTest, NamesAreKeptExactlyAsWritten) {
    folder.write("db2.JPG", "upper");
    folder.write("db2.jpg", "lower");
    folder.write("db2empty", "");
    auto cursor = load("file a db2.JPG; file b db2.jpg; file c DB2.jpg; file e db2empty;");
    EXPECT_EQ(bytesOf(fileNamed(*cursor, "a").getData()), "upper");
    EXPECT_EQ(bytesOf(fileNamed(*cursor, "b").getData()), "lower");
    EXPECT_NE(fileNamed(*cursor, "c").getData(), fileNamed(*cursor, "b").getData());
    EXPECT_EQ(bytesOf(fileNamed(*cursor, "e").getData()), "");
    EXPECT_EQ(DataBase::dataTypeFor("db2.JPG"), DataBase::dataTypeFor("db2.jpg"));
    EXPECT_EQ(DataBase::instance().get("never-loaded"), nullptr);
}

TEST_F(DataBaseTest, MissingAndShortFilesAreErrors) {
    EXPECT_EQ(errorOf("file f db3-missing.bin;"), "Could not open file \"db3-missing.bin\"");
    EXPECT_EQ(DataBase::instance().get("db3-missing.bin"), nullptr);

    std::istringstream shortStream("abc");
    EXPECT_THROW(DataBase::instance().load("db3-short.bin", shortStream, 10), Errors::LoadError);
    EXPECT_EQ(DataBase::instance().get("db3-short.bin"), nullptr);

    std::istringstream empty;
    EXPECT_THROW(DataBase::instance().load("db3-huge.bin", empty, DataBase::maxFileSize + 1),
                 Errors::LoadError);
}

class UpperCaseLoader : public DataLoader {
public:
    std::unique_ptr<DataObject> load(const std::string&, std::istream& stream,
                                     std::uintmax_t) override {
        std::string text(std::istreambuf_iterator<char>(stream), {});
        for (char& c : text)
            c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        std::vector<std::uint8_t> bytes(text.begin(), text.end());
        return std::make_unique<RawData>(std::move(bytes));
    }
};

TEST_F(DataBaseTest, LoadersByExtensionAndTheDuplicateRule) {
    folder.write("db4.upx", "shout");
    folder.write("db4-late.upx", "late");
    auto raw = load("file f db4-late.upx;");
    EXPECT_EQ(bytesOf(DataBase::instance().get("db4-late.upx")), "late");

    DataBase::registerLoader("Upper", [] { return std::make_unique<UpperCaseLoader>(); }, {"upx"});
    EXPECT_EQ(DataBase::dataTypeFor("x.UpX"), "Upper");
    EXPECT_EQ(DataBase::dataTypeFor("x.upx.bin"), "");
    auto cursor = load("file f db4.upx;");
    EXPECT_EQ(bytesOf(fileNamed(*cursor, "f").getData()), "SHOUT");

    // The same name under another data type is refused; the first entry stays.
    EXPECT_EQ(errorOf("file f db4-late.upx;"),
              "DataBaseError: Duplicate data with diffrent datatype encountered when loading "
              "into database.");
    EXPECT_EQ(bytesOf(DataBase::instance().get("db4-late.upx")), "late");
}

} // namespace
