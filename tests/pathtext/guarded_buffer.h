// A caller's buffer of an exact capacity with guard bytes behind it, to see
// that a function writes nothing past the capacity that it was given.
#ifndef ORVIK_TESTS_GUARDED_BUFFER_H
#define ORVIK_TESTS_GUARDED_BUFFER_H

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace orvik::test {

class GuardedBuffer {
public:
    // `capacity` bytes, the first of them holding `text` and its zero.
    explicit GuardedBuffer(size_t capacity, const std::string& text = std::string())
        : m_capacity(capacity), m_bytes(capacity + kGuard, kFill) {
        std::copy(text.begin(), text.end(), m_bytes.begin());
        m_bytes[text.size()] = '\0';
    }

    char* data() { return m_bytes.data(); }
    std::string text() const { return std::string(m_bytes.data()); }
    bool GuardIntact() const {
        return std::all_of(m_bytes.begin() + m_capacity, m_bytes.end(),
                           [](char c) { return c == kFill; });
    }

private:
    static constexpr size_t kGuard = 16;
    static constexpr char kFill = '#';
    size_t m_capacity;
    std::vector<char> m_bytes;
};

}  // namespace orvik::test

#endif  // ORVIK_TESTS_GUARDED_BUFFER_H
