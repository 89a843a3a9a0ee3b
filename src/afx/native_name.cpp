#include "native_name.h"

#include <unistd.h>

#include <cerrno>
#include <climits>
#include <vector>

namespace orvik::afx {

std::string NativeName(const char* name) { return name ? std::string(name) : std::string(); }

std::string HostName(const std::string& native) { return native; }

namespace {

std::string CurrentDirectory() {
    std::vector<char> buffer(PATH_MAX);
    while (::getcwd(buffer.data(), buffer.size()) == nullptr) {
        if (errno != ERANGE) {
            return std::string();
        }
        buffer.resize(buffer.size() * 2);
    }
    return std::string(buffer.data());
}

}  // namespace

std::string FullPath(const std::string& native) {
    std::string joined = native;
    if (native.empty() || native[0] != '/') {
        const std::string cwd = CurrentDirectory();
        if (cwd.empty()) {
            return native;  // no current directory to resolve against
        }
        joined = cwd + "/" + native;
    }
    std::string full;
    size_t pos = 0;
    while (pos < joined.size()) {
        size_t next = joined.find('/', pos);
        if (next == std::string::npos) {
            next = joined.size();
        }
        const std::string component = joined.substr(pos, next - pos);
        if (!component.empty() && component != ".") {
            full += "/" + component;
        }
        pos = next + 1;
    }
    return full.empty() ? std::string("/") : full;
}

std::string LastComponent(const std::string& path) {
    const size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace orvik::afx
