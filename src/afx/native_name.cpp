#include "native_name.h"

#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <filesystem>
#include <mutex>
#include <vector>

#include "folded_index.h"
#include "name_fold.h"

namespace orvik::afx {

namespace {

constexpr int kDriveCount = 26;

bool IsSeparator(char c) {
    return c == '/' || c == '\\';
}

bool IsAsciiLetter(char c) {
    const char lower = static_cast<char>(c | 0x20);
    return lower >= 'a' && lower <= 'z';
}

size_t DriveIndex(char letter) {
    return static_cast<size_t>((letter | 0x20) - 'a');
}

std::string Backslashed(std::string text) {
    for (char& c : text) {
        if (c == '/') {
            c = '\\';
        }
    }
    return text;
}

// The directory of every drive letter; empty stands for the root.
class DriveTable {
public:
    std::string Directory(char letter) {
        const std::lock_guard<std::mutex> lock(m_mutex);
        std::string mapped = m_directories[DriveIndex(letter)];
        if (mapped.empty()) {
            mapped = "/";
        }
        return mapped;
    }

    void Set(char letter, std::string directory) {
        const std::lock_guard<std::mutex> lock(m_mutex);
        m_directories[DriveIndex(letter)] = std::move(directory);
    }

    // The name of `native` (absolute) under the drive whose directory holds
    // it most closely; ties go to C:, then D: to Z:, then A: and B:. Root
    // relative when every drive is mapped away from it.
    std::string HostForm(const std::string& native) {
        const std::lock_guard<std::mutex> lock(m_mutex);
        static const char kOrder[] = "CDEFGHIJKLMNOPQRSTUVWXYZAB";
        char best = '\0';
        size_t bestLength = 0;
        for (const char* letter = kOrder; *letter != '\0'; ++letter) {
            const std::string& dir = m_directories[DriveIndex(*letter)];
            const bool holds =
                dir.empty() || native == dir ||
                (native.compare(0, dir.size(), dir) == 0 && native[dir.size()] == '/');
            if (holds && (best == '\0' || dir.size() > bestLength)) {
                best = *letter;
                bestLength = dir.size();
            }
        }
        if (best == '\0') {
            return Backslashed(native);
        }
        size_t rest = bestLength;
        while (rest < native.size() && native[rest] == '/') {
            ++rest;
        }
        return std::string(1, best) + ":\\" + Backslashed(native.substr(rest));
    }

private:
    std::mutex m_mutex;
    std::array<std::string, kDriveCount> m_directories;
};

DriveTable& Drives() {
    static DriveTable table;
    return table;
}

// A name taken apart: where it starts, and its components with "." and ".."
// resolved as text. ".." never climbs above the drive's directory (or the
// root of the file system): a drive is a boundary that no name crosses. Only
// a relative name keeps its leading ".." components, which climb from the
// current directory as the kernel follows them.
struct ParsedName {
    std::string base;  // "/", a drive's directory, or empty for the current directory
    std::vector<std::string> components;
    bool mustBeDirectory = false;  // ended in a separator, "." or ".."
};

void AddComponent(ParsedName& parsed, std::string component) {
    if (component.empty() || component == ".") {
        return;
    }
    const bool climbs = component == "..";
    if (climbs && !parsed.components.empty() && parsed.components.back() != "..") {
        parsed.components.pop_back();
    } else if (!climbs || parsed.base.empty()) {
        // A relative name keeps its leading ".." for the current directory.
        parsed.components.push_back(std::move(component));
    }  // else: ".." at the root stays at the root
}

ParsedName Parse(const char* name) {
    ParsedName parsed;
    const char* rest = name;
    if (IsAsciiLetter(name[0]) && name[1] == ':') {
        // "C:rel" is "C:\rel": a drive has no current directory of its own.
        parsed.base = Drives().Directory(name[0]);
        rest = name + 2;
    } else if (IsSeparator(name[0])) {
        parsed.base = "/";
    }
    std::string component;
    for (const char* p = rest;; ++p) {
        if (*p != '\0' && !IsSeparator(*p)) {
            component += *p;
            continue;
        }
        parsed.mustBeDirectory = component.empty() || component == "." || component == "..";
        AddComponent(parsed, std::move(component));
        component.clear();
        if (*p == '\0') {
            break;
        }
    }
    return parsed;
}

void Append(std::string& path, const std::string& component) {
    if (!path.empty() && path.back() != '/') {
        path += '/';
    }
    path += component;
}

bool EntryExists(const std::string& path) {
    struct stat info {};
    return ::lstat(path.c_str(), &info) == 0;
}

// The spelling on disk of `component` inside `directory`: as given, else
// the lower-case spelling, else the one that the directory's index or a read
// of the directory finds. A current index answers before the lower-case
// spelling is tried, and the lower-case spelling before an index is made,
// so that a directory is read only for names that neither spelling finds.
// Empty when no entry matches, so that the rest of the name stays as given.
// `knownMissing`: the exact spelling has just been looked for in vain.
std::string SpellingOnDisk(const std::string& directory, const std::string& component,
                           bool knownMissing) {
    std::string path = directory;
    Append(path, component);
    if (!knownMissing) {
        if (EntryExists(path)) {
            return component;
        }
        if (errno != ENOENT) {
            return std::string();  // the kernel will tell what is wrong with it
        }
    }
    std::string spelling;
    if (FindInIndex(directory, component, IndexUse::kIfCurrent, spelling)) {
        return spelling;
    }
    std::string lower = LowerName(component);
    if (lower != component) {
        path = directory;
        Append(path, lower);
        if (EntryExists(path)) {
            return lower;
        }
    }
    if (FindInIndex(directory, component, IndexUse::kReadIfNeeded, spelling)) {
        return spelling;
    }
    return std::string();  // the directory cannot be read
}

std::string Joined(const ParsedName& parsed, const std::vector<std::string>& components) {
    std::string path = parsed.base;
    for (const std::string& component : components) {
        Append(path, component);
    }
    if (path.empty()) {
        return ".";
    }
    if (parsed.mustBeDirectory && !components.empty()) {
        path += '/';  // the kernel then insists on a directory
    }
    return path;
}

// Empty when there is none (removed since it was entered).
std::string CurrentDirectory() {
    std::error_code error;
    return std::filesystem::current_path(error).string();
}

}  // namespace

std::string NativeName(const char* name) {
    if (name == nullptr || *name == '\0') {
        return std::string();
    }
    const ParsedName parsed = Parse(name);
    std::string asGiven = Joined(parsed, parsed.components);
    if (EntryExists(asGiven) || errno != ENOENT) {
        return asGiven;  // every component matches exactly
    }
    std::vector<std::string> onDisk;
    std::string directory = parsed.base;
    bool resolving = true;
    bool exactSoFar = true;  // then the path so far is asGiven's, so its last component is missing
    for (const std::string& component : parsed.components) {
        std::string spelling = component;
        if (resolving && component != "..") {
            const bool last = onDisk.size() + 1 == parsed.components.size();
            spelling = SpellingOnDisk(directory, component, last && exactSoFar);
            resolving = !spelling.empty();
            if (!resolving) {
                spelling = component;  // nothing below a missing entry exists
            }
            exactSoFar = exactSoFar && spelling == component;
        }
        Append(directory, spelling);
        onDisk.push_back(spelling);
    }
    return Joined(parsed, onDisk);
}

std::string HostName(const std::string& native) {
    if (native.empty() || native[0] != '/') {
        return Backslashed(native);
    }
    return Drives().HostForm(native);
}

std::string FullPath(const std::string& native) {
    std::string joined = native;
    if (native[0] != '/') {  // the empty name too
        const std::string cwd = CurrentDirectory();
        if (cwd.empty()) {
            return native;  // no current directory to resolve against
        }
        joined = cwd + "/" + native;
    }
    const ParsedName parsed = Parse(joined.c_str());
    std::string full;
    for (const std::string& component : parsed.components) {
        full += "/" + component;
    }
    if (full.empty()) {
        full = "/";
    }
    return full;
}

std::string LastComponent(const std::string& path) {
    const size_t separator = path.find_last_of("/\\");
    return separator == std::string::npos ? path : path.substr(separator + 1);
}

bool MapDrive(char letter, const char* directory) {
    if (!IsAsciiLetter(letter)) {
        return false;
    }
    std::string mapped;  // the root
    if (directory != nullptr) {
        if (*directory == '\0') {
            return false;
        }
        mapped = FullPath(NativeName(directory));
        if (mapped == "/") {
            mapped.clear();
        }
    }
    Drives().Set(letter, std::move(mapped));
    return true;
}

}  // namespace orvik::afx
