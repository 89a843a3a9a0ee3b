// The C++ layer's own logic: limits that the 32-bit calls beneath cannot
// carry are refused in full width, never cut to 32 bits. The layer's use end
// to end is the example host's test (cpp_layer_host).
#include <gtest/gtest.h>

#include "OrvikFILE.hpp"
#include "temp_dir.h"

namespace {

using orvik::Error;
using orvik::File;
using orvik::OpenMode;

TEST(CppLayer, LimitsAreCheckedInFullWidth) {
    const orvik::test::TempDir dir;
    Error err;
    File file(dir.Write("t.txt", "abc\nd"), OpenMode::readWrite, err);
    for (const uint64_t max : {ORVIK_TRANSFER_MAX_COUNT + 1ULL, 0x100000000ULL}) {
        auto lines = orvik::Lines(file, max);
        EXPECT_EQ(lines.begin(), lines.end()) << max;
        EXPECT_EQ(lines.error(), std::errc::invalid_argument) << max;
    }
    file.Seek(int64_t{INT32_MAX} + 1, orvik::Origin::begin, err);
    EXPECT_EQ(err, std::errc::value_too_large);
    file.SetLength(uint64_t{UINT32_MAX} + 1, err);
    EXPECT_EQ(err, std::errc::file_too_large);
}

}  // namespace
