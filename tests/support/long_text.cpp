#include "long_text.h"

#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <stdexcept>
#include <string>

namespace orvik::test {

namespace {

// The fill bytes held once; a text of 4 GiB maps them 2048 times.
constexpr size_t kPiece = size_t{2} << 20;

char* Map(void* at, size_t bytes, int prot, int flags, int fd) {
    void* mapped = ::mmap(at, bytes, prot, flags, fd, 0);
    if (mapped == MAP_FAILED) {
        throw std::runtime_error("LongText: mmap failed");
    }
    return static_cast<char*>(mapped);
}

}  // namespace

LongText::LongText(size_t length, std::string_view tail, char fill) : m_length(length) {
    const auto page = static_cast<size_t>(::sysconf(_SC_PAGESIZE));
    m_mapped = (length + page) / page * page;
    m_text = Map(nullptr, m_mapped, PROT_NONE, MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1);

    // The repeated part ends where the page of the tail's first byte begins.
    const size_t tailStart = length - tail.size(), ownStart = tailStart / page * page;
    const std::string filled(kPiece, fill);
    const int piece = ::memfd_create("orvik-long-text", MFD_CLOEXEC);
    if (piece < 0 || ::write(piece, filled.data(), kPiece) != static_cast<ssize_t>(kPiece)) {
        throw std::runtime_error("LongText: no memory file");
    }
    for (size_t at = 0; at < ownStart; at += kPiece) {
        Map(m_text + at, std::min(kPiece, ownStart - at), PROT_READ | PROT_WRITE,
            MAP_SHARED | MAP_FIXED, piece);
    }
    ::close(piece);  // the mappings keep the memory file

    char* own = Map(m_text + ownStart, m_mapped - ownStart, PROT_READ | PROT_WRITE,
                    MAP_PRIVATE | MAP_ANONYMOUS | MAP_FIXED, -1);
    std::memset(own, fill, tailStart - ownStart);
    tail.copy(m_text + tailStart, tail.size());
    m_text[length] = '\0';
}

LongText::~LongText() {
    ::munmap(m_text, m_mapped);
}

}  // namespace orvik::test
