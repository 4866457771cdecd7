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

// The name with '/' as separator; a rooted one (drive letter or leading separator) made
// relative to the working directory, which stands for the demo's root.
struct PortableName {
    std::string path;
    bool rooted = false;
};

PortableName portableName(const std::string& name) {
    PortableName portable{name};
    std::replace(portable.path.begin(), portable.path.end(), '\\', '/');
    const bool drive = hasDriveLetter(portable.path);
    if (drive)
        portable.path.erase(0, 2);
    portable.rooted = drive || portable.path.starts_with('/');
    if (portable.rooted)
        portable.path.erase(0, portable.path.find_first_not_of('/'));
    return portable;
}

} // namespace

std::optional<fs::path> resolvePortablePath(const std::string& name) {
    if (name.empty())
        return std::nullopt;
    if (pathExists(name))
        return fs::path(name);

    const PortableName portable = portableName(name);
    // A rooted name written with `\` means the demo's root, not the host's: "\data\x.bin" must
    // not pick up a /data/x.bin that happens to exist on this machine.
    if (!portable.rooted && portable.path != name && pathExists(portable.path))
        return fs::path(portable.path);
    if (portable.rooted && !portable.path.empty() && pathExists(portable.path))
        return fs::path(portable.path);
    return resolveIgnoringCase(portable.path);
}

fs::path plainPortablePath(const std::string& name) {
    // A name in this system's own form is taken as written, as resolvePortablePath would.
    if (name.find('\\') == std::string::npos && !hasDriveLetter(name))
        return name;
    return portableName(name).path;
}

fs::path watchedPortablePath(const std::string& name) {
    if (const auto path = resolvePortablePath(name))
        return *path;
    return plainPortablePath(name);
}

fs::path fileIdentity(const fs::path& path) {
    std::error_code error;
    fs::path identity = fs::weakly_canonical(path, error);
    return error ? path : identity;
}
