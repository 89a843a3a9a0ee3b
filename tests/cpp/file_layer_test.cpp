// The C++ layer's own logic: a failure's cause and text, and limits that the
// 32-bit calls beneath cannot carry, refused in full width.
#include <gtest/gtest.h>

#include <string>

#include "OrvikFILE.hpp"
#include "temp_dir.h"

namespace {

using orvik::Error;
using orvik::File;
using orvik::OpenMode;

TEST(CppLayer, FailuresKeepTheirCauseCodeAndName) {
    const orvik::test::TempDir dir;
    Error err;
    File missing(dir / "missing.txt", OpenMode::read, err);
    EXPECT_EQ(err, std::errc::no_such_file_or_directory);
    EXPECT_EQ(err.return_code(), ORVIK_RC_OPEN_FAILED);
    EXPECT_EQ(err.message(), (dir / "missing.txt") + ": " + MSG_GetStr(ORVIK_MSG_FILE_NOT_FOUND));
    const File directory(dir.path().string(), OpenMode::readWrite, err);
    EXPECT_EQ(err, std::errc::permission_denied);
    std::string line;
    missing.ReadLine(line, err);
    EXPECT_EQ(err, std::errc::bad_file_descriptor);
    EXPECT_EQ(err.message_number(), ORVIK_MSG_NO_FILE_OBJECT);
}

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
