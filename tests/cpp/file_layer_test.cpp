// The C++ layer through its interface: the cause of each failure, one report
// for a file that is not open, files that move, and limits that are checked.
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

std::string Joined(File& file, std::size_t max, Error& err) {
    std::string out;
    auto lines = orvik::Lines(file, max);
    for (std::string_view line : lines) {
        out += "[" + std::string(line) + "]";
    }
    err = lines.error();
    return out;
}

TEST(CppLayer, OpenFailuresKeepTheirCauseAndTheName) {
    const orvik::test::TempDir dir;
    struct Row {
        std::string name;
        OpenMode mode;
        std::errc cause;
        int32_t message;
    };
    const Row rows[] = {
        {dir / "missing.txt", OpenMode::read, std::errc::no_such_file_or_directory,
         ORVIK_MSG_FILE_NOT_FOUND},
        {dir.path().string(), OpenMode::read, std::errc::permission_denied,
         ORVIK_MSG_ACCESS_DENIED},
        {dir.path().string(), OpenMode::readWrite, std::errc::permission_denied,
         ORVIK_MSG_ACCESS_DENIED},
    };
    for (const Row& row : rows) {
        Error err;
        const File file(row.name, row.mode, err);
        EXPECT_EQ(err, row.cause) << row.name;
        EXPECT_EQ(err.return_code(), ORVIK_RC_OPEN_FAILED);
        EXPECT_EQ(err.message_number(), row.message);
        EXPECT_EQ(err.message(), row.name + ": " + MSG_GetStr(row.message));
    }
    Error err;
    orvik::Remove(dir / "missing.txt", err);
    EXPECT_EQ(err, std::errc::no_such_file_or_directory);
    EXPECT_EQ(err.return_code(), ORVIK_RC_REMOVE_FAILED);
}

TEST(CppLayer, EveryMemberReportsAFileThatIsNotOpenAlike) {
    std::string text;
    char byte = 0;
    const std::function<void(File&, Error&)> members[] = {
        [&](File& f, Error& e) { f.Read(&byte, 1, e); },
        [&](File& f, Error& e) { f.Write("x", e); },
        [&](File& f, Error& e) { f.Seek(0, orvik::Origin::begin, e); },
        [&](File& f, Error& e) { f.Length(e); },
        [&](File& f, Error& e) { f.SetLength(0, e); },
        [&](File& f, Error& e) { f.ReadLine(text, e); },
        [&](File& f, Error& e) { f.WriteRecord("x", e); },
        [&](File& f, Error& e) { f.ReadRecord(text, e); },
        [&](File& f, Error& e) { f.Name(e); },
        [&](File& f, Error& e) { f.Path(e); },
        [&](File& f, Error& e) {
            auto r = orvik::Lines(f);
            r.begin(), e = r.error();
        },
        [&](File& f, Error& e) {
            auto r = orvik::Records(f);
            r.begin(), e = r.error();
        },
    };
    const orvik::test::TempDir dir;
    Error err;
    File closed(dir.Write("a.txt", "a\n"), OpenMode::read, err);
    closed.Close(err);
    for (const auto& member : members) {
        err.clear();
        member(closed, err);
        EXPECT_EQ(err, std::errc::bad_file_descriptor);
        EXPECT_EQ(err.return_code(), ORVIK_RC_NO_FILE_OBJECT);
        EXPECT_EQ(err.message_number(), ORVIK_MSG_NO_FILE_OBJECT);
    }
}

TEST(CppLayer, LineLimitsAreCheckedInFullWidth) {
    const orvik::test::TempDir dir;
    struct Row {
        std::size_t max;
        const char* lines;
        std::errc end;  // std::errc{} for the end of the file
    };
    const Row rows[] = {
        {0, "[a][b][c][][d]", std::errc{}},
        {2, "[ab][c][d]", std::errc{}},
        {ORVIK_TRANSFER_MAX_COUNT + 1ULL, "", std::errc::invalid_argument},
        {0xFFFFFFFFULL, "", std::errc::invalid_argument},
        {0x100000000ULL, "", std::errc::invalid_argument},
    };
    for (const Row& row : rows) {
        Error err;
        File file(dir.Write("t.txt", "abc\nd"), OpenMode::read, err);
        EXPECT_EQ(Joined(file, row.max, err), row.lines) << row.max;
        EXPECT_TRUE(row.end == std::errc{} ? orvik::IsEndOfFile(err) : err == row.end) << row.max;
        std::string line;
        file.Seek(0, orvik::Origin::begin, err);
        EXPECT_EQ(file.ReadLine(line, err, row.max), row.end == std::errc{}) << row.max;
    }
    Error err;
    File file(dir / "t.txt", OpenMode::read, err);
    file.Seek(int64_t{INT32_MAX} + 1, orvik::Origin::begin, err);
    EXPECT_EQ(err, std::errc::value_too_large);
    file.SetLength(uint64_t{UINT32_MAX} + 1, err);
    EXPECT_EQ(err, std::errc::file_too_large);
}

TEST(CppLayer, RecordsRoundTripAndEndCleanly) {
    const orvik::test::TempDir dir;
    Error err;
    {
        File out(dir / "r.rec", OpenMode::readWrite, err, orvik::Existing::empty);
        out.WriteRecord("first", err);
        out.WriteRecord(std::string(600, 'x'), err);
    }
    File in(dir / "r.rec", OpenMode::read, err);
    std::string text;
    EXPECT_TRUE(in.ReadRecord(text, err));
    EXPECT_EQ(text, "first");
    auto rest = orvik::Records(in);
    std::vector<std::string> texts(rest.begin(), rest.end());
    EXPECT_EQ(texts, std::vector<std::string>{std::string(ORVIK_RECORD_MAX_TEXT, 'x')});
    EXPECT_TRUE(orvik::IsEndOfFile(rest.error()));
    EXPECT_EQ(rest.error().message(), dir / "r.rec" + ": " + MSG_GetStr(ORVIK_MSG_END_OF_FILE));
}

}  // namespace
