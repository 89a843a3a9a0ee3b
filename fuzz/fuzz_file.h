// File objects for the targets that parse file contents: the fuzzer's bytes
// as the content, delivered in pieces of fuzzer-chosen sizes, either by a
// host's file object whose own Read gives the pieces, or by the platform
// CFile on a real file whose read(2) calls give them (through the platform
// file's table of system calls).
#ifndef ORVIK_FUZZ_FILE_H
#define ORVIK_FUZZ_FILE_H

#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "OrvikAfx.h"
#include "afx/system_calls.h"
#include "fuzz_input.h"

namespace orvik::fuzz {

// The sizes that successive reads give at most, in turn; none: no limit.
class Pieces {
public:
    explicit Pieces(std::vector<uint8_t> sizes) : m_sizes(std::move(sizes)) {}

    size_t Next(size_t count) {
        if (m_sizes.empty()) {
            return count;
        }
        const size_t piece = std::max<size_t>(1, m_sizes[m_next++ % m_sizes.size()]);
        return std::min(count, piece);
    }

private:
    std::vector<uint8_t> m_sizes;
    size_t m_next = 0;
};

// A host's file object that serves `content` from memory, each Read giving
// at most the next piece.
class PieceFile : public CFile {
public:
    PieceFile(std::string content, Pieces pieces)
        : m_content(std::move(content)), m_pieces(std::move(pieces)) {
        m_hFile = 1000;  // open, as far as the library can tell
    }
    ~PieceFile() override { m_hFile = hFileNull; }

    UINT Read(void* buffer, UINT count) override {
        const size_t n = m_pieces.Next(std::min<size_t>(count, m_content.size() - m_position));
        m_content.copy(static_cast<char*>(buffer), n, m_position);
        m_position += n;
        return static_cast<UINT>(n);
    }

    size_t Position() const { return m_position; }

private:
    std::string m_content;
    Pieces m_pieces;
    size_t m_position = 0;
};

// `content` in an anonymous memory file, opened by its /proc name with the
// platform CFile, whose read(2) calls give at most the next piece each.
class RealFile {
public:
    RealFile(const std::string& content, Pieces pieces) : m_pieces(std::move(pieces)) {
        m_fd = ::memfd_create("fuzz", MFD_CLOEXEC);
        Require(m_fd >= 0 && ::write(m_fd, content.data(), content.size()) ==
                                 static_cast<ssize_t>(content.size()),
                "the memory file takes the content");
        s_pieces = &m_pieces;
        afx::SystemCallsInUse().read = [](int fd, void* buffer, size_t count) {
            return afx::RealSystemCalls().read(fd, buffer, s_pieces->Next(count));
        };
        const std::string name = "/proc/self/fd/" + std::to_string(m_fd);
        Require(m_file.Open(name.c_str(), CFile::modeRead) != FALSE, "the memory file opens");
    }
    ~RealFile() {
        m_file.Abort();
        ::close(m_fd);
        afx::SystemCallsInUse() = afx::RealSystemCalls();
    }
    RealFile(const RealFile&) = delete;
    RealFile& operator=(const RealFile&) = delete;

    CFile& file() { return m_file; }

private:
    static inline Pieces* s_pieces = nullptr;
    Pieces m_pieces;
    int m_fd = -1;
    CFile m_file;
};

// Cuts the input into a flags byte, up to 15 piece sizes and the content.
struct FileInput {
    uint8_t flags;
    uint8_t limit;
    std::vector<uint8_t> pieces;
    std::string content;

    FileInput(const uint8_t* data, size_t size) {
        Input input(data, size);
        flags = input.Byte();
        limit = input.Byte();
        const size_t count = input.Byte() % 16;
        for (size_t i = 0; i < count; ++i) {
            pieces.push_back(input.Byte());
        }
        const size_t used = std::min(size, 3 + count);
        content.assign(reinterpret_cast<const char*>(data) + used, size - used);
    }
};

// The file object that the input's flags choose (bit 0: a real file through
// the platform CFile, else a host's object), serving the input's content in
// the input's pieces.
class FileUnderTest {
public:
    explicit FileUnderTest(const FileInput& input) {
        if ((input.flags & 1) != 0) {
            m_real = std::make_unique<RealFile>(input.content, Pieces(input.pieces));
        } else {
            m_pieces = std::make_unique<PieceFile>(input.content, Pieces(input.pieces));
        }
    }

    CFile* file() { return m_real ? &m_real->file() : m_pieces.get(); }
    bool IsReal() const { return m_real != nullptr; }

    // How far the file has been read: a real file is asked for its
    // position, which also drops what it read ahead.
    size_t Consumed() {
        return m_real ? static_cast<uint32_t>(m_real->file().Seek(0, CFile::current))
                      : m_pieces->Position();
    }

private:
    std::unique_ptr<RealFile> m_real;
    std::unique_ptr<PieceFile> m_pieces;
};

}  // namespace orvik::fuzz

#endif  // ORVIK_FUZZ_FILE_H
