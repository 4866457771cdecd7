#include "PortablePath.h"

#include <algorithm>
#include <system_error>
#include <vector>

namespace fs = std::filesystem;

namespace {

bool pathExists(const fs::path& path) {
    std::error_code error;
    return fs::exists(path, error);
}

char lowerAscii(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool equalsIgnoringAsciiCase(const std::string& a, const std::string& b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return lowerAscii(x) == lowerAscii(y);
           });
}

std::vector<std::string> splitComponents(const std::string& path) {
    std::vector<std::string> components;
    std::string current;
    for (char c : path + '/') {
        if (c != '/') {
            current += c;
            continue;
        }
        if (!current.empty() && current != ".")
            components.push_back(current);
        current.clear();
    }
    return components;
}

// The entry of `folder` whose name equals `component` ignoring case; the smallest such name
// when several differ only in case, so the answer does not depend on directory order.
std::optional<std::string> findIgnoringCase(const fs::path& folder, const std::string& component) {
    std::error_code error;
    fs::directory_iterator it(folder.empty() ? fs::path(".") : folder, error);
    if (error)
        return std::nullopt;
    std::optional<std::string> best;
    for (; it != fs::directory_iterator(); it.increment(error)) {
        if (error)
            break;
        std::string entry = it->path().filename().string();
        if (equalsIgnoringAsciiCase(entry, component) && (!best || entry < *best))
            best = std::move(entry);
    }
    return best;
}

std::optional<fs::path> resolveIgnoringCase(const std::string& relative) {
    fs::path resolved;
    for (const std::string& component : splitComponents(relative)) {
        fs::path exact = resolved / component;
        if (component == ".." || pathExists(exact)) {
            resolved = std::move(exact);
            continue;
        }
        auto match = findIgnoringCase(resolved, component);
        if (!match)
            return std::nullopt;
        resolved /= *match;
    }
    if (resolved.empty())
        return std::nullopt;
    return resolved;
}

bool hasDriveLetter(const std::string& name) {
    return name.size() >= 2 && name[1] == ':' &&
           ((name[0] >= 'a' && name[0] <= 'z') || (name[0] >= 'A' && name[0] <= 'Z'));
}

} // namespace

std::optional<fs::path> resolvePortablePath(const std::string& name) {
    if (name.empty())
        return std::nullopt;
    if (pathExists(name))
        return fs::path(name);

    std::string portable = name;
    std::replace(portable.begin(), portable.end(), '\\', '/');
    const bool drive = hasDriveLetter(portable);
    if (drive)
        portable.erase(0, 2);
    const bool rooted = drive || portable.starts_with('/');

    // A rooted name written with `\` means the demo's root, not the host's: "\data\x.bin" must
    // not pick up a /data/x.bin that happens to exist on this machine.
    if (!rooted && portable != name && pathExists(portable))
        return fs::path(portable);
    if (!rooted)
        return resolveIgnoringCase(portable);

    const auto first = portable.find_first_not_of('/');
    const std::string relative =
        first == std::string::npos ? std::string() : portable.substr(first);
    if (!relative.empty() && pathExists(relative))
        return fs::path(relative);
    return resolveIgnoringCase(relative);
}

fs::path fileIdentity(const fs::path& path) {
    std::error_code error;
    fs::path identity = fs::weakly_canonical(path, error);
    return error ? path : identity;
}
