// The lengths of the path-text functions' texts, which they report as
// int32_t: a text is measured only as far as that count reaches, so that one
// of gigabytes is refused without being read to its end.
#ifndef ORVIK_FILE_TEXT_LENGTH_H
#define ORVIK_FILE_TEXT_LENGTH_H

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace orvik::pathtext {

// The longest text whose length, and every index into it, an int32_t holds.
constexpr size_t kLongestText = INT32_MAX;

// The length of `text` when it is at most `limit`, else `limit` + 1. No byte
// past index `limit` is read.
inline size_t LengthUpTo(const char* text, size_t limit) {
    const void* zero = std::memchr(text, '\0', limit + 1);
    return zero ? static_cast<size_t>(static_cast<const char*>(zero) - text) : limit + 1;
}

}  // namespace orvik::pathtext

#endif  // ORVIK_FILE_TEXT_LENGTH_H
