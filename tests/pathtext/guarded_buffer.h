// A caller's buffer of exactly the capacity that a function is owed, alone
// in its heap block: under AddressSanitizer any write past it stops the test.
#ifndef ORVIK_TESTS_GUARDED_BUFFER_H
#define ORVIK_TESTS_GUARDED_BUFFER_H

#include <algorithm>
#include <string>
#include <vector>

namespace orvik::test {

// `capacity` bytes, the first of them holding `text` and its zero.
inline std::vector<char> ExactBuffer(size_t capacity, const std::string& text = std::string()) {
    std::vector<char> bytes(capacity, '#');
    *std::copy(text.begin(), text.end(), bytes.begin()) = '\0';
    return bytes;
}

}  // namespace orvik::test

#endif  // ORVIK_TESTS_GUARDED_BUFFER_H
