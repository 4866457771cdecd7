#include "DataBase.h"

#include "FileLoader.h"
#include "LoadError.h"
#include "ScriptErrors.h"

#include <map>

namespace {

struct Registration {
    std::string dataTypeName;
    DataBase::LoaderFactory factory;
    std::vector<std::string> extensions;
};

std::vector<Registration>& registry() {
    static std::vector<Registration> registrations;
    return registrations;
}

std::string upperAscii(std::string text) {
    for (char& c : text) {
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    }
    return text;
}

// Loader objects by data type name, and data type names by upper-case extension; made from
// the registry on first use and again after a registration.
class ExtensionTable {
public:
    static ExtensionTable& instance() {
        static ExtensionTable table;
        return table;
    }

    void invalidate() { built = false; }

    // The data type of a name's extension, falling back to the "*" entry; "" when neither
    // exists.
    std::string dataTypeFor(const std::string& fileName) {
        build();
        const auto dot = fileName.rfind('.');
        const std::string extension =
            upperAscii(dot == std::string::npos ? std::string() : fileName.substr(dot + 1));
        if (auto found = extensions.find(extension); found != extensions.end())
            return found->second;
        if (auto found = extensions.find("*"); found != extensions.end())
            return found->second;
        return {};
    }

    DataLoader* loaderFor(const std::string& dataType) {
        build();
        const auto found = loaders.find(dataType);
        return found == loaders.end() ? nullptr : found->second.get();
    }

private:
    void build() {
        if (built)
            return;
        loaders.clear();
        extensions.clear();
        for (const Registration& registration : registry()) {
            loaders[registration.dataTypeName] = registration.factory();
            for (const std::string& extension : registration.extensions)
                extensions[upperAscii(extension)] = registration.dataTypeName;
        }
        built = true;
    }

    bool built = false;
    std::map<std::string, std::unique_ptr<DataLoader>> loaders;
    std::map<std::string, std::string> extensions;
};

std::unique_ptr<DataObject> readRaw(const std::string& fileName, std::istream& stream,
                                    std::uintmax_t size) {
    const Errors::LoadError cannotRead("Could not open file \"%s\"", fileName);
    if (size > DataBase::maxFileSize)
        throw cannotRead;
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size));
    stream.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(size));
    if (static_cast<std::uintmax_t>(stream.gcount()) != size)
        throw cannotRead;
    return std::make_unique<RawData>(std::move(bytes));
}

} // namespace

DataBase& DataBase::instance() {
    static DataBase dataBase;
    return dataBase;
}

void DataBase::registerLoader(std::string dataTypeName, LoaderFactory factory,
                              std::vector<std::string> extensions) {
    registry().push_back({std::move(dataTypeName), std::move(factory), std::move(extensions)});
    ExtensionTable::instance().invalidate();
}

std::string DataBase::dataTypeFor(const std::string& fileName) {
    return ExtensionTable::instance().dataTypeFor(fileName);
}

const DataObject* DataBase::open(const std::string& fileName) {
    std::uintmax_t size = 0;
    std::ifstream stream = openScriptFile(fileName, &size);
    return load(fileName, stream, size);
}

const DataObject* DataBase::load(const std::string& fileName, std::istream& stream,
                                 std::uintmax_t size) {
    const std::string dataType = dataTypeFor(fileName);
    if (const auto found = entries.find(fileName); found != entries.end()) {
        if (found->second.dataType != dataType)
            throw Errors::DataBaseError("Duplicate data with diffrent datatype encountered when "
                                        "loading into database.");
        return found->second.data.get();
    }
    DataLoader* loader = ExtensionTable::instance().loaderFor(dataType);
    std::unique_ptr<DataObject> data =
        loader ? loader->load(fileName, stream, size) : readRaw(fileName, stream, size);
    if (!data)
        throw Errors::LoadError("Could not open file \"%s\"", fileName);
    const DataObject* stored = data.get();
    entries.emplace(fileName, Entry{std::move(data), dataType});
    return stored;
}

const DataObject* DataBase::get(const std::string& fileName) const {
    const auto found = entries.find(fileName);
    return found == entries.end() ? nullptr : found->second.data.get();
}
