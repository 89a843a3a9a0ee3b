#include <gtest/gtest.h>
#include <unistd.h>

#include <fstream>
#include <random>
#include <string>

#include "OrvikFILE_Lib.h"
#include "report_check.h"
#include "temp_dir.h"

namespace {

using orvik::test::TempDir;

// A host's class: one read(2) per Read call, so FILE_ReadStr reads it one
// virtual call per byte with no read-ahead anywhere.
class Unbuffered : public CFile {
public:
    UINT Read(void* buffer, UINT count) override {
        ++m_reads;
        const ssize_t got = ::read(static_cast<int>(m_hFile), buffer, count);
        if (got < 0) {
            AfxThrowFileException(CFileException::generic, errno);
        }
        return static_cast<UINT>(got);
    }
    long m_reads = 0;
};

std::string SampleContent(std::mt19937& random) {
    std::string content;
    while (content.size() < size_t{200} * 1024) {  // spans several read-ahead blocks
        const size_t length = random() % 150;
        for (size_t i = 0; i < length; ++i) {
            content += static_cast<char>('a' + random() % 26);
        }
        content += (random() % 4 == 0) ? "\r\n" : "\n";
    }
    return content;
}

// Runs one operation on `file` and describes everything the caller sees.
std::string Step(CFile& file, uint32_t choice, uint32_t arg) {
    const uint32_t kind = choice % 8;  // 0 to 2: lines, the reader's bread and butter
    const uint32_t count = arg % (kind < 3 ? 200 : 300);
    std::string buffer(count + 1, '\0');
    uint32_t value = 0;
    char* message = nullptr;
    if (kind < 3) {
        message = FILE_ReadStr(&file, buffer.data(), count, &value);
    } else if (kind == 3) {
        message = FILE_Read(&file, buffer.data(), count, &value);
    } else if (kind == 4) {
        message = FILE_Seek(&file, static_cast<int32_t>(arg % 4000) - 2000, arg % 3);
    } else if (kind == 5) {
        message = FILE_WriteStr(&file, ("<w" + std::to_string(arg % 1000) + ">\n").c_str());
    } else if (kind == 6 && arg % 5 == 0) {
        message = FILE_SetLength(&file, arg % 250000);
    } else if (kind == 6) {
        message = FILE_SeekToEnd(&file, &value);
    } else {
        message = FILE_GetLength(&file, &value);
    }
    const bool read = kind < 4 && value >= ORVIK_STATUS_TRANSFERRED;
    const std::string seen = read ? buffer.substr(0, value - ORVIK_STATUS_TRANSFERRED) : "";
    return seen + "|" + std::to_string(value) + "|" + (message ? message : "null") + "|" +
           std::to_string(GEN_GetRetCode());
}

TEST(ExactPosition, ReadAheadIsInvisibleInEveryInterleaving) {
    TempDir dir;
    std::mt19937 random(20261206);
    const std::string content = SampleContent(random);
    const std::string bufferedName = dir.Write("buffered.txt", content);
    const std::string plainName = dir.Write("plain.txt", content);
    CFile buffered;
    Unbuffered plain;
    ASSERT_EQ(FILE_Open(&buffered, bufferedName.c_str(), ORVIK_OPEN_READ_WRITE, ORVIK_OPEN_KEEP),
              nullptr);
    ASSERT_EQ(FILE_Open(&plain, plainName.c_str(), ORVIK_OPEN_READ_WRITE, ORVIK_OPEN_KEEP),
              nullptr);
    for (int i = 0; i < 4000; ++i) {
        const auto choice = static_cast<uint32_t>(random());
        const auto arg = static_cast<uint32_t>(random());
        const std::string expected = Step(plain, choice, arg);
        ASSERT_EQ(Step(buffered, choice, arg), expected)
            << "step " << i << " choice " << choice % 8;
    }
    FILE_Close(&buffered);
    FILE_Close(&plain);
    EXPECT_EQ(dir.Read("buffered.txt"), dir.Read("plain.txt"));
    EXPECT_GT(plain.m_reads, 10000) << "the host's class was read byte by byte";
}

TEST(ExactPosition, FollowsALogThatGrowsAfterItsEnd) {
    TempDir dir;
    const std::string name = dir.Write("app.log", "first\n");
    CFile file;
    ASSERT_EQ(FILE_Open(&file, name.c_str(), ORVIK_OPEN_READ, ORVIK_OPEN_KEEP), nullptr);
    char line[64];
    uint32_t status = 0;
    ASSERT_EQ(FILE_ReadStr(&file, line, 63, &status), nullptr);
    for (int twice = 0; twice < 2; ++twice) {
        EXPECT_REPORT(FILE_ReadStr(&file, line, 63, &status), ORVIK_MSG_END_OF_FILE,
                      ORVIK_RC_END_OF_FILE, status, ORVIK_STATUS_END_OF_FILE)
            << "the end, for now";
    }
    // Another writer appends; each piece is read as a line once it is there.
    for (const std::string appended : {"second\n", "partial", " more\n"}) {
        std::ofstream(name, std::ios::app) << appended;
        ASSERT_EQ(FILE_ReadStr(&file, line, 63, &status), nullptr);
        EXPECT_EQ(line, appended.substr(0, appended.find('\n')));
    }
}

}  // namespace
