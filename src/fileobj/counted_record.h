// The counted string record, a file format: a signed 32-bit length L,
// little-endian on every host, then L body bytes. A text of n bytes is
// stored with L = n + 1 and its terminating zero; a longer text than 512
// bytes as L = 513 and its first 513 bytes; an empty or null text as L = 0.
#ifndef ORVIK_FILE_COUNTED_RECORD_H
#define ORVIK_FILE_COUNTED_RECORD_H

#include <cstdint>

#include "OrvikFILE_Codes.h"

namespace orvik::record {

constexpr int32_t kLongestText = ORVIK_RECORD_MAX_TEXT;
constexpr int32_t kLargestBody = kLongestText + 1;
constexpr uint32_t kFieldBytes = ORVIK_RECORD_LENGTH_BYTES;

inline void EncodeLength(int32_t length, unsigned char (&field)[kFieldBytes]) {
    const auto bits = static_cast<uint32_t>(length);
    for (uint32_t i = 0; i < kFieldBytes; ++i) {
        field[i] = static_cast<unsigned char>(bits >> (8 * i));
    }
}

inline int32_t DecodeLength(const unsigned char (&field)[kFieldBytes]) {
    uint32_t bits = 0;
    for (uint32_t i = 0; i < kFieldBytes; ++i) {
        bits |= static_cast<uint32_t>(field[i]) << (8 * i);
    }
    return static_cast<int32_t>(bits);
}

}  // namespace orvik::record

#endif  // ORVIK_FILE_COUNTED_RECORD_H
