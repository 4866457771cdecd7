#include "ErrorMessage.h"
#include "FileLoader.h"
#include "LoadError.h"
#include "PortablePath.h"
#include "TempFolder.h"

#include <algorithm>
#include <iterator>

#include <gtest/gtest.h>

namespace {

// Reads a whole file as text, the simplest loader there is.
class TextLoader : public FileLoader<std::string> {
protected:
    std::string read(const std::string&, std::istream& stream) override {
        return {std::istreambuf_iterator<char>(stream), std::istreambuf_iterator<char>()};
    }
};

TEST(LoadError, ReplacesOnlyTheFirstDirective) {
    EXPECT_EQ(Errors::LoadError("No data found.", "").getMessage(), "No data found.");
    EXPECT_EQ(Errors::LoadError("Could not open file \"%s\"", "a.scr").getMessage(),
              "Could not open file \"a.scr\"");
    EXPECT_EQ(Errors::LoadError("%s and %s", "x").getMessage(), "x and %s");
    EXPECT_EQ(Errors::LoadError("100%d %% %", "x").getMessage(), "100%d %% %");
    EXPECT_EQ(Errors::LoadError("%s", "50%s off").getMessage(), "50%s off");
}

TEST(FileLoader, ReadsBytesUnchangedAndNamesMissingFilesAsWritten) {
    TempFolder folder;
    folder.write("crlf.txt", "a\r\nb\0c");
    folder.write("sub/x.txt", "x");
    TextLoader loader;
    EXPECT_EQ(loader.load("crlf.txt"), std::string("a\r\nb"));
    EXPECT_EQ(errorMessageOf([&] { loader.load("missing.scr"); }),
              "Could not open file \"missing.scr\"");
    EXPECT_EQ(errorMessageOf([&] { loader.load("sub"); }), "Could not open file \"sub\"");
    EXPECT_EQ(errorMessageOf([&] { loader.load(""); }), "Could not open file \"\"");
    EXPECT_EQ(errorMessageOf([&] { loader.load("/dev/null"); }),
              "Could not open file \"/dev/null\"");
}

TEST(FileLoader, ReportsTheSizeOfWhatItOpens) {
    TempFolder folder;
    folder.write("five.bin", "12345");
    folder.write("empty.bin", "");
    std::uintmax_t size = 99;
    openScriptFile("five.bin", &size);
    EXPECT_EQ(size, 5u);
    openScriptFile("empty.bin", &size);
    EXPECT_EQ(size, 0u);
}

TEST(PortablePath, ReadsWindowsNamesRelativeToTheWorkingDirectory) {
    TempFolder folder;
    folder.write("Data/Pics/Logo.JPG", "x");
    TextLoader loader;
    for (const char* name :
         {"Data/Pics/Logo.JPG", "Data\\Pics\\Logo.JPG", "\\Data\\Pics\\Logo.JPG",
          "/Data/Pics/Logo.JPG", "C:\\Data\\Pics\\Logo.JPG", "c:Data\\Pics\\Logo.JPG",
          "data\\pics\\logo.jpg", "\\DATA\\PICS\\LOGO.JPG", "Data/./Pics/../Pics/logo.jpg"}) {
        EXPECT_EQ(loader.load(name), "x") << name;
    }
    EXPECT_EQ(errorMessageOf([&] { loader.load("\\Data\\Pics\\Missing.jpg"); }),
              "Could not open file \"\\Data\\Pics\\Missing.jpg\"");
    EXPECT_FALSE(resolvePortablePath("Data\\Pix\\Logo.JPG"));
}

TEST(PortablePath, PrefersTheExactSpellingAndIsDeterministicOtherwise) {
    TempFolder folder;
    folder.write("pic.jpg", "lower");
    folder.write("PIC.jpg", "upper");
    folder.write("Pic.jpg", "mixed");
    TextLoader loader;
    EXPECT_EQ(loader.load("pic.jpg"), "lower");
    EXPECT_EQ(loader.load("PIC.jpg"), "upper");
    // No exact match: the smallest of the names that match ignoring case.
    EXPECT_EQ(loader.load("pIc.JPG"), "upper");
}

// A viewer watches what a load read, and where a file it missed would appear.
TEST(PortablePath, RecordsWhatALoadReadAndWhereAMissingFileWouldBe) {
    TempFolder folder;
    folder.write("Pics/Logo.jpg", "x");
    std::vector<std::filesystem::path> read;
    recordOpenedFiles(&read);
    TextLoader loader;
    loader.load("pics\\logo.jpg");
    EXPECT_THROW(loader.load("C:\\Pics\\New.JPG"), Errors::LoadError);
    EXPECT_THROW(loader.load("Pics"), Errors::LoadError);
    EXPECT_THROW(loader.load(""), Errors::LoadError);
    recordOpenedFiles(nullptr);
    loader.load("Pics/Logo.jpg");
    EXPECT_EQ(read, (std::vector<std::filesystem::path>{"Pics/Logo.jpg", "Pics/New.JPG", "Pics"}));

    EXPECT_EQ(plainPortablePath("\\\\a\\b.jpg"), "a/b.jpg");
    EXPECT_EQ(plainPortablePath("d:x.jpg"), "x.jpg");
    EXPECT_EQ(plainPortablePath("/srv/new.jpg"), "/srv/new.jpg");
    EXPECT_EQ(plainPortablePath("C:"), "");
}

TEST(PortablePath, KeepsAbsoluteHostPaths) {
    TempFolder folder;
    folder.write("abs.txt", "abs");
    TextLoader loader;
    EXPECT_EQ(loader.load((folder.path() / "abs.txt").string()), "abs");
    EXPECT_EQ(fileIdentity("abs.txt"), fileIdentity(folder.path() / "x" / ".." / "abs.txt"));
}

TEST(PortablePath, ABackslashRootIsTheDemosFolderEvenWhereTheHostHasTheFile) {
    TempFolder host;
    host.write("same.txt", "host");
    const std::string hostPath = (host.path() / "same.txt").string();
    TempFolder demo;
    demo.write(hostPath.substr(1), "demo");
    std::string windowsName = hostPath;
    std::replace(windowsName.begin(), windowsName.end(), '/', '\\');
    TextLoader loader;
    EXPECT_EQ(loader.load(windowsName), "demo");
    EXPECT_EQ(loader.load(hostPath), "host") << "a host path that exists as written stays";
}

} // namespace
