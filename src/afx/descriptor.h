// A descriptor that the platform classes own for the length of a call (a
// directory on the way to a name, a listing, a link being read) and close
// through the table of system calls when it goes.
#ifndef ORVIK_AFX_DESCRIPTOR_H
#define ORVIK_AFX_DESCRIPTOR_H

#include <fcntl.h>

#include <string>
#include <utility>

#include "system_calls.h"

namespace orvik::afx {

class Descriptor {
public:
    Descriptor() = default;
    explicit Descriptor(int fd) : m_fd(fd) {}
    ~Descriptor() { Reset(); }
    Descriptor(Descriptor&& other) noexcept : m_fd(std::exchange(other.m_fd, -1)) {}
    Descriptor& operator=(Descriptor&& other) noexcept {
        if (this != &other) {
            Reset(std::exchange(other.m_fd, -1));
        }
        return *this;
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;

    int Get() const { return m_fd; }
    bool Valid() const { return m_fd >= 0; }
    int Release() { return std::exchange(m_fd, -1); }

    // Closes what it holds and takes `fd` instead. close(2) is not repeated
    // after EINTR: Linux frees the descriptor either way.
    void Reset(int fd = -1) {
        if (m_fd >= 0) {
            Sys().close(m_fd);
        }
        m_fd = fd;
    }

private:
    int m_fd = -1;
};

// The Linux path of what an open descriptor refers to, as the kernel names
// it (/proc/self/fd); empty when it does not: no /proc, no path (a pipe),
// or an entry removed since it was opened.
std::string PathOfDescriptor(int fd);

}  // namespace orvik::afx

#endif  // ORVIK_AFX_DESCRIPTOR_H
