#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "OrvikFILE_Lib.h"
#include "OrvikGEN_Lib.h"
#include "OrvikMSG_Lib.h"
#include "scripted_file.h"
#include "temp_dir.h"

namespace {

using orvik::test::ScriptedFile;
using orvik::test::TempDir;
using orvik::test::TrackedException;

// One FILE_ReadStr call: what it returned, stored and left.
struct Line {
    std::string text;  // the buffer up to the status length
    uint32_t status;
    int32_t code;
    bool failed;
};

// Reads lines until the end of the file (or `limit` calls), each into a
// heap buffer of exactly max + 1 bytes so that the sanitizer catches any
// write past it.
std::vector<Line> ReadAll(CFile& file, uint32_t max, int limit = 50) {
    std::vector<Line> lines;
    for (int i = 0; i < limit; ++i) {
        const auto buffer = std::make_unique<char[]>(max + 1);
        uint32_t status = 0;
        char* message = FILE_ReadStr(&file, buffer.get(), max, &status);
        const uint32_t length = status >= 100 ? status - 100 : 0;
        if (status >= 100) {
            EXPECT_EQ(buffer[length], '\0') << "terminated at the status length";
        }
        lines.push_back(
            {std::string(buffer.get(), length), status, GEN_GetRetCode(), message != nullptr});
        if (message != nullptr) {
            EXPECT_EQ(message, MSG_GetStr(52016));
            break;
        }
    }
    return lines;
}

std::string Describe(const std::vector<Line>& lines) {
    std::string out;
    for (const Line& line : lines) {
        out += line.failed
                   ? "<EOF " + std::to_string(line.status) + "," + std::to_string(line.code) + ">"
                   : "[" + line.text + "]";
    }
    return out;
}

TEST(ReadLine, SplitsContentIntoLines) {
    const struct {
        std::string content;
        uint32_t max;
        std::string lines;
    } rows[] = {
        {"a\r\n", 10, "[a]<EOF 2,11>"},
        {"one\ntwo\n", 10, "[one][two]<EOF 2,11>"},
        {"last without LF", 100, "[last without LF]<EOF 2,11>"},
        {"", 10, "<EOF 2,11>"},
        {"\n\r\n\n", 10, "[][][]<EOF 2,11>"},
        {"cr\rinside\r", 20, "[cr\rinside\r]<EOF 2,11>"},
        {"abcd\nx", 4, "[abcd][][x]<EOF 2,11>"},    // exactly max, then its LF
        {"abcd\r\nx", 4, "[abcd][][x]<EOF 2,11>"},  // cut before CR LF
        {"abc\r\nx", 4, "[abc\r][][x]<EOF 2,11>"},  // cut between CR and LF
        {"abcdefghij\n", 3, "[abc][def][ghi][j]<EOF 2,11>"},
        {std::string("a\0b\n", 4), 10, std::string("[a\0b]<EOF 2,11>", 15)},
        {"\xFF\xFE\n", 5, "[\xFF\xFE]<EOF 2,11>"},
    };
    for (const auto& row : rows) {
        ScriptedFile file(row.content);
        EXPECT_EQ(Describe(ReadAll(file, row.max)), row.lines)
            << "content " << row.content << " max " << row.max;
    }
}

TEST(ReadLine, StatusCountsZeroBytesAndSuccessLeavesCodeZero) {
    ScriptedFile file(std::string("a\0b\n", 4));
    GEN_SetRetCode(77);
    const auto lines = ReadAll(file, 10);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].status, 103u);
    EXPECT_EQ(lines[0].code, 0);
}

TEST(ReadLine, LimitZeroNeverReads) {
    ScriptedFile file("abc\n");
    char buffer[1] = {'#'};
    uint32_t status = 0;
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(FILE_ReadStr(&file, buffer, 0, &status), nullptr);
        EXPECT_EQ(status, 100u);
        EXPECT_EQ(buffer[0], '\0');
    }
    EXPECT_EQ(file.Calls(), "");
}

TEST(ReadLine, ReadsOneByteAtATimeAndNoFurther) {
    ScriptedFile file("ab\ncd\n");
    char buffer[8];
    uint32_t status = 0;
    FILE_ReadStr(&file, buffer, 7, &status);
    EXPECT_EQ(file.Calls(), "Read Read Read");
    EXPECT_EQ(file.m_position, 3u) << "stops right after the LF";
}

TEST(ReadLine, Failures) {
    char buffer[8] = "#######";
    uint32_t status = 0;
    EXPECT_EQ(FILE_ReadStr(nullptr, buffer, 7, &status), MSG_GetStr(52000));
    EXPECT_EQ(GEN_GetRetCode(), 4);
    EXPECT_EQ(status, 1u);
    EXPECT_EQ(buffer[0], '#') << "not touched";
    ScriptedFile file("abc\n");
    EXPECT_EQ(FILE_ReadStr(&file, nullptr, 7, &status), MSG_GetStr(52001));
    EXPECT_EQ(GEN_GetRetCode(), 7);
    EXPECT_EQ(status, 4u);

    const struct {
        size_t throwAfter;
        int cause;
        int32_t number;  // 0: the partial line comes back
        int32_t code;
        uint32_t status;
    } rows[] = {
        {0, CFileException::endOfFile, 52016, 11, 2},
        {2, CFileException::endOfFile, 0, 0, 102},
        {0, CFileException::hardIO, 52012, 12, 3},
        {2, CFileException::accessDenied, 52007, 12, 3},
        {1, 99, 52017, 12, 3},
    };
    for (const auto& row : rows) {
        ScriptedFile failing("abc\n");
        failing.m_throwCause["Read"] = row.cause;
        failing.m_throwAfter = row.throwAfter;
        GEN_SetRetCode(77);
        char* message = FILE_ReadStr(&failing, buffer, 7, &status);
        EXPECT_EQ(message, row.number ? MSG_GetStr(row.number) : nullptr) << row.cause;
        EXPECT_EQ(GEN_GetRetCode(), row.code);
        EXPECT_EQ(status, row.status);
        EXPECT_EQ(TrackedException::s_alive, 0);
    }
    ScriptedFile foreign("abc\n");
    foreign.m_throwCause["Read"] = ScriptedFile::kForeign;
    EXPECT_THROW(FILE_ReadStr(&foreign, buffer, 7, &status), std::runtime_error);
}

TEST(ReadLine, RealFileWithMixedLineEnds) {
    TempDir dir;
    const std::string name = dir.Write("lines.txt", "first\r\nsecond\n\nlast");
    CFile file;
    ASSERT_EQ(FILE_Open(&file, name.c_str(), 0, 0), nullptr);
    EXPECT_EQ(Describe(ReadAll(file, 80)), "[first][second][][last]<EOF 2,11>");
    uint32_t status = 0;
    char buffer[81];
    EXPECT_EQ(FILE_ReadStr(&file, buffer, 80, &status), MSG_GetStr(52016)) << "and stays there";
}

}  // namespace
