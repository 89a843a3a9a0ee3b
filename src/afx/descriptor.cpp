#include "descriptor.h"

#include <fcntl.h>

namespace orvik::afx {

std::string PathOfDescriptor(int fd) {
    char path[4096];
    const std::string link = "/proc/self/fd/" + std::to_string(fd);
    const ssize_t length =
        Retried([&] { return Sys().readlinkat(AT_FDCWD, link.c_str(), path, sizeof path); });
    if (length <= 0 || static_cast<size_t>(length) >= sizeof path || path[0] != '/') {
        return {};
    }
    std::string text(path, static_cast<size_t>(length));
    constexpr char kDeleted[] = " (deleted)";
    constexpr size_t kDeletedLength = sizeof kDeleted - 1;
    if (text.size() > kDeletedLength &&
        text.compare(text.size() - kDeletedLength, kDeletedLength, kDeleted) == 0) {
        return {};
    }
    return text;
}

}  // namespace orvik::afx
