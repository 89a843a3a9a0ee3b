// What the fuzz targets share: the input cut into texts, caller buffers of
// an exact capacity on the heap (so that AddressSanitizer sees the first
// byte past it), and a check that stops the run with a message.
#ifndef ORVIK_FUZZ_INPUT_H
#define ORVIK_FUZZ_INPUT_H

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

namespace orvik::fuzz {

inline void Require(bool holds, const char* what) {
    if (!holds) {
        std::fprintf(stderr, "invariant broken: %s\n", what);
        std::abort();
    }
}

// Reads the input front to back: single bytes for flags and numbers, and
// texts that end at a zero byte or at the end of the input.
class Input {
public:
    Input(const uint8_t* data, size_t size) : m_data(data), m_size(size) {}

    uint8_t Byte() { return m_pos < m_size ? m_data[m_pos++] : 0; }

    std::string Text() {
        const size_t start = m_pos;
        while (m_pos < m_size && m_data[m_pos] != 0) {
            ++m_pos;
        }
        std::string text(reinterpret_cast<const char*>(m_data) + start, m_pos - start);
        if (m_pos < m_size) {
            ++m_pos;  // the zero that ended it
        }
        return text;
    }

private:
    const uint8_t* m_data;
    size_t m_size;
    size_t m_pos = 0;
};

// A heap block of exactly `capacity` bytes that starts with `text` and its
// zero; the rest is filled with a byte that no function writes by chance.
class Buffer {
public:
    Buffer(const std::string& text, size_t capacity) : m_bytes(new char[capacity]) {
        Require(text.size() < capacity, "a buffer holds its text and zero");
        std::memset(m_bytes.get(), 0x7F, capacity);
        std::memcpy(m_bytes.get(), text.c_str(), text.size() + 1);
    }
    char* data() { return m_bytes.get(); }
    std::string text() const { return std::string(m_bytes.get()); }

private:
    std::unique_ptr<char[]> m_bytes;
};

}  // namespace orvik::fuzz

#endif  // ORVIK_FUZZ_INPUT_H
