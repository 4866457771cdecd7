#pragma once

#include <cstdint>
#include <functional>
#include <istream>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

// What the data base holds for one file.
class DataObject {
public:
    virtual ~DataObject() = default;
};

// A file's bytes, kept when no loader knows the file's extension.
class RawData : public DataObject {
public:
    explicit RawData(std::vector<std::uint8_t> bytes) : bytes(std::move(bytes)) {}
    const std::uint8_t* data() const { return bytes.data(); }
    std::size_t size() const { return bytes.size(); }

private:
    std::vector<std::uint8_t> bytes;
};

// Turns an open file of one format into a data object.
class DataLoader {
public:
    virtual ~DataLoader() = default;
    virtual std::unique_ptr<DataObject> load(const std::string& fileName, std::istream& stream,
                                             std::uintmax_t size) = 0;
};

// The process-wide store of the files that scripts name, each read once, keyed by the name
// exactly as written.
class DataBase {
public:
    using LoaderFactory = std::function<std::unique_ptr<DataLoader>()>;

    // Files beyond this size are refused rather than read into memory.
    static constexpr std::uintmax_t maxFileSize = std::uintmax_t{1} << 30;

    static DataBase& instance();

    // Adds a loader for the given extensions ("*" for every extension without a loader).
    static void registerLoader(std::string dataTypeName, LoaderFactory factory,
                               std::vector<std::string> extensions);

    // Opens the file through the file layer and loads it; throws Errors::LoadError when it
    // cannot be read to its end, Errors::DataBaseError when the name is already held with
    // another data type.
    const DataObject* open(const std::string& fileName);
    const DataObject* load(const std::string& fileName, std::istream& stream, std::uintmax_t size);
    const DataObject* get(const std::string& fileName) const;

    // The data type name under which a file of this name is loaded ("" for raw bytes).
    static std::string dataTypeFor(const std::string& fileName);

private:
    DataBase() = default;

    struct Entry {
        std::unique_ptr<DataObject> data;
        std::string dataType;
    };

    std::unordered_map<std::string, Entry> entries;
};
