// Counted string records spelled out byte by byte, made here rather than by
// the library so that its reader and writer are checked against an
// independent spelling of the format.
#ifndef ORVIK_TESTS_RECORD_BYTES_H
#define ORVIK_TESTS_RECORD_BYTES_H

#include <cstdint>
#include <string>

namespace orvik::test {

// The little-endian 32-bit length field.
inline std::string Field(int32_t length) {
    const auto bits = static_cast<uint32_t>(length);
    return {static_cast<char>(bits), static_cast<char>(bits >> 8), static_cast<char>(bits >> 16),
            static_cast<char>(bits >> 24)};
}

// A whole record of `text` as the writer stores a text that fits.
inline std::string Record(const std::string& text) {
    return Field(static_cast<int32_t>(text.size() + 1)) + text + std::string(1, '\0');
}

}  // namespace orvik::test

#endif  // ORVIK_TESTS_RECORD_BYTES_H
