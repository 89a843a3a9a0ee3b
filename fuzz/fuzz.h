// What the fuzz targets share: the input cut into bytes and texts, caller
// buffers of an exact capacity on the heap (AddressSanitizer sees the first
// byte past them), a check that stops the run, and a file whose content
// comes in pieces of the fuzzer's sizes.
#ifndef ORVIK_FUZZ_H
#define ORVIK_FUZZ_H

#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "OrvikAfx.h"

namespace orvik::fuzz {

inline void Require(bool holds, const char* what) {
    if (!holds) {
        std::fprintf(stderr, "invariant broken: %s\n", what);
        std::abort();
    }
}

// Reads the input front to back: single bytes, and texts that end at a
// zero byte or at the end of the input.
class Input {
public:
    Input(const uint8_t* data, size_t size) : m_rest(reinterpret_cast<const char*>(data), size) {}

    uint8_t Byte() {
        const auto byte = static_cast<uint8_t>(m_rest.empty() ? 0 : m_rest[0]);
        m_rest.remove_prefix(m_rest.empty() ? 0 : 1);
        return byte;
    }
    std::string Text() {
        const size_t end = std::min(m_rest.find('\0'), m_rest.size());
        std::string text(m_rest.substr(0, end));
        m_rest.remove_prefix(std::min(end + 1, m_rest.size()));
        return text;
    }
    std::string Rest() { return std::string(std::exchange(m_rest, {})); }

private:
    std::string_view m_rest;
};

// `capacity` bytes that start with `text` and its zero, alone in a heap block.
inline std::vector<char> Buffer(const std::string& text, size_t capacity) {
    Require(text.size() < capacity, "a buffer holds its text and zero");
    std::vector<char> bytes(capacity, 0x7F);
    std::copy(text.c_str(), text.c_str() + text.size() + 1, bytes.begin());
    return bytes;
}

// The input as flags, a limit, up to 15 piece sizes and the content, served
// by the file that bit 0 of the flags picks: the platform CFile on a real
// file, which reads ahead, or a host's object whose own Read gives the
// content in those pieces.
class PieceFile : public CFile {
public:
    PieceFile(const uint8_t* data, size_t size) {
        Input input(data, size);
        flags = input.Byte();
        limit = input.Byte();
        m_sizes.resize(input.Byte() % 16);
        std::generate(m_sizes.begin(), m_sizes.end(), [&] { return input.Byte(); });
        content = input.Rest();
        m_hFile = 1000;  // open, as far as the library can tell
        if ((flags & 1) != 0) {
            m_fd = ::memfd_create("fuzz", MFD_CLOEXEC);
            Require(m_fd >= 0 && ::write(m_fd, content.data(), content.size()) ==
                                     static_cast<ssize_t>(content.size()),
                    "the memory file takes the content");
            const std::string name = "/proc/self/fd/" + std::to_string(m_fd);
            Require(m_real.Open(name.c_str(), modeRead) != FALSE, "the memory file opens");
        }
    }
    ~PieceFile() override {
        m_hFile = hFileNull;
        if (m_fd >= 0) {
            m_real.Abort();
            ::close(m_fd);
        }
    }

    uint8_t flags, limit;
    std::string content;

    CFile* file() { return m_fd >= 0 ? &m_real : this; }
    bool IsReal() const { return m_fd >= 0; }
    // How far the file has been read (a real file drops what it read ahead).
    size_t Consumed() { return IsReal() ? static_cast<uint32_t>(m_real.Seek(0, current)) : m_at; }

    UINT Read(void* buffer, UINT count) override {
        const size_t n = Next(std::min<size_t>(count, content.size() - m_at));
        m_at += content.copy(static_cast<char*>(buffer), n, m_at);
        return static_cast<UINT>(n);
    }

private:
    size_t Next(size_t count) {
        return m_sizes.empty()
                   ? count
                   : std::min<size_t>(count,
                                      std::max<uint8_t>(1, m_sizes[m_next++ % m_sizes.size()]));
    }
    std::vector<uint8_t> m_sizes;
    size_t m_next = 0, m_at = 0;
    int m_fd = -1;
    CFile m_real;
};

}  // namespace orvik::fuzz

#endif  // ORVIK_FUZZ_H
