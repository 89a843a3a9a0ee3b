// What the fuzz targets share: the library's interface, the input read front
// to back, a check that stops the run, and a file whose content comes in
// pieces of the fuzzer's size. Caller buffers are the tests' ExactBuffer
// (guarded_buffer.h), alone in their heap block, so AddressSanitizer sees the
// first byte past them. Each target is a program of its own, so these names
// need no namespace.
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

#include "OrvikAfx.h"
#include "OrvikFILE_Lib.h"
#include "OrvikGEN_Lib.h"
#include "OrvikMSG_Lib.h"
#include "OrvikSTR_Lib.h"
#include "guarded_buffer.h"
#include "scripted_file.h"

using orvik::test::ExactBuffer;

inline void Require(bool holds, const char* what) {
    if (!holds) {
        std::fprintf(stderr, "invariant broken: %s\n", what);
        std::abort();
    }
}

// Single bytes (0 past the end) and texts that end at a zero byte or at the
// end of the input; `rest` is what is left.
struct Input {
    Input(const uint8_t* data, size_t size) : rest(reinterpret_cast<const char*>(data), size) {}

    std::string_view Take(size_t count) {
        const std::string_view taken = rest.substr(0, count);
        rest.remove_prefix(taken.size());
        return taken;
    }
    uint8_t Byte() {
        const std::string_view taken = Take(1);
        return taken.empty() ? 0 : static_cast<uint8_t>(taken[0]);
    }
    std::string Text() {
        std::string text(Take(rest.find('\0')));
        Take(1);  // its zero
        return text;
    }

    std::string_view rest;
};

// The input as flags, a limit, a piece size and the content, served by the
// file that bit 0 of the flags picks: the platform CFile on a memory file,
// which reads ahead, or a host's object (scripted_file.h) whose own Read
// gives the content in pieces of that size (0: as much as asked for).
struct PieceFile {
    PieceFile(const uint8_t* data, size_t size) {
        Input input(data, size);
        flags = input.Byte();
        limit = input.Byte();
        const uint8_t piece = input.Byte();
        host.m_chunk = piece == 0 ? SIZE_MAX : piece;
        host.m_content = input.rest;
        if ((flags & 1) != 0) {
            const int fd = ::memfd_create("fuzz", MFD_CLOEXEC);
            const std::string name = "/proc/self/fd/" + std::to_string(fd);
            Require(::write(fd, input.rest.data(), input.rest.size()) ==
                            static_cast<ssize_t>(input.rest.size()) &&
                        real.Open(name.c_str(), CFile::modeRead) != FALSE && ::close(fd) == 0,
                    "the memory file takes the content and opens");
        }
    }
    CFile* file() { return (flags & 1) != 0 ? &real : &host; }
    size_t size() const { return host.m_content.size(); }

    uint8_t flags, limit;
    orvik::test::ScriptedFile host;
    CFile real;
};

#endif  // ORVIK_FUZZ_H
