// The C++ layer through its interface: the cause and text of a failure, one
// report for a file that is not open, and limits checked in full width.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "OrvikFILE.hpp"
#include "temp_dir.h"

namespace {

using orvik::Error;
using orvik::File;
using orvik::OpenMode;

TEST(CppLayer, FailuresKeepTheirCauseCodeAndName) {
    const orvik::test::TempDir dir;
    Error err;
    const File missing(dir / "missing.txt", OpenMode::read, err);
    EXPECT_EQ(err, std::errc::no_such_file_or_directory);
    EXPECT_EQ(err.return_code(), ORVIK_RC_OPEN_FAILED);
    EXPECT_EQ(err.message(), (dir / "missing.txt") + ": " + MSG_GetStr(ORVIK_MSG_FILE_NOT_FOUND));
    const File directory(dir.path().string(), OpenMode::readWrite, err);
    EXPECT_EQ(err, std::errc::permission_denied);
    EXPECT_EQ(err.message_number(), ORVIK_MSG_ACCESS_DENIED);
    orvik::Remove(dir / "missing.txt", err);
    EXPECT_EQ(err, std::errc::no_such_file_or_directory);
    EXPECT_EQ(err.return_code(), ORVIK_RC_REMOVE_FAILED);

    File closed(dir.Write("a.txt", "a\n"), OpenMode::read, err);
    closed.Close(err);
    std::string text;
    const std::function<void()> members[] = {
        [&] { closed.Write("x", err); },
        [&] { closed.Length(err); },
        [&] { closed.ReadLine(text, err); },
        [&] { closed.ReadRecord(text, err); },
        [&] { closed.Path(err); },
        [&] {
            auto lines = orvik::Lines(closed);
            lines.begin(), err = lines.error();
        },
    };
    for (const auto& member : members) {
        err.clear();
        member();
        EXPECT_EQ(err.return_code(), ORVIK_RC_NO_FILE_OBJECT);
    }
}

TEST(CppLayer, LimitsAreCheckedInFullWidthAndRecordsEndCleanly) {
    const orvik::test::TempDir dir;
    for (const auto& [max, lines] : {std::pair<std::size_t, std::string>{2, "[ab][c][d]"},
                                     {ORVIK_TRANSFER_MAX_COUNT + 1ULL, ""},
                                     {0x100000000ULL, ""}}) {
        Error err;
        File file(dir.Write("t.txt", "abc\nd"), OpenMode::read, err);
        std::string out;
        auto range = orvik::Lines(file, max);
        for (std::string_view line : range) {
            out += "[" + std::string(line) + "]";
        }
        EXPECT_EQ(out, lines) << max;
        EXPECT_TRUE(lines.empty() ? range.error() == std::errc::invalid_argument
                                  : orvik::IsEndOfFile(range.error()))
            << max;
    }
    Error err;
    File file(dir / "r.rec", OpenMode::readWrite, err, orvik::Existing::empty);
    file.Seek(int64_t{INT32_MAX} + 1, orvik::Origin::begin, err);
    EXPECT_EQ(err, std::errc::value_too_large);
    file.SetLength(uint64_t{UINT32_MAX} + 1, err);
    EXPECT_EQ(err, std::errc::file_too_large);
    file.WriteRecord(std::string(600, 'x'), err);
    file.Seek(0, orvik::Origin::begin, err);
    auto records = orvik::Records(file);
    const std::vector<std::string> texts(records.begin(), records.end());
    EXPECT_EQ(texts, std::vector<std::string>{std::string(ORVIK_RECORD_MAX_TEXT, 'x')});
    EXPECT_EQ(records.error().message(),
              (dir / "r.rec") + ": " + MSG_GetStr(ORVIK_MSG_END_OF_FILE));
}

}  // namespace
