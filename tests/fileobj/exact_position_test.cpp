// The platform CFile reads ahead for FILE_ReadStr; none of it may show,
// whatever the caller, or another writer that appends, does meanwhile.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <fstream>
#include <random>
#include <string>

#include "OrvikFILE_Lib.h"
#include "OrvikGEN_Lib.h"
#include "temp_dir.h"

namespace {

// A host's class: one read(2) per Read call, so FILE_ReadStr reads it one
// virtual call per byte with no read-ahead anywhere. A failed read(2), which
// no step here makes, would show as the end of the file.
struct Unbuffered : CFile {
    UINT Read(void* buffer, UINT count) override {
        ++m_reads;
        return static_cast<UINT>(
            std::max<ssize_t>(::read(static_cast<int>(m_hFile), buffer, count), 0));
    }
    long m_reads = 0;
};

// Runs one operation, lines the most often, and describes all the caller sees
// (the length is what a seek to the end tells). Another writer may append to
// the file `name`, as to a log: what it adds must be read once it is there,
// even after a read that met the end.
std::string Step(CFile& file, const std::string& name, uint32_t kind, uint32_t arg) {
    const uint32_t count = arg % 300;
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
    } else if (kind == 6) {
        std::ofstream(name, std::ios::app) << "<appended " << arg % 1000 << ">\n";
    } else {
        message =
            arg % 5 == 0 ? FILE_SetLength(&file, arg % 250000) : FILE_SeekToEnd(&file, &value);
    }
    const bool read = kind < 4 && value >= ORVIK_STATUS_TRANSFERRED;
    return (read ? buffer.substr(0, value - ORVIK_STATUS_TRANSFERRED) : "") + "|" +
           std::to_string(value) + "|" + (message ? message : "null") + "|" +
           std::to_string(GEN_GetRetCode());
}

TEST(ExactPosition, ReadAheadIsInvisibleInEveryInterleaving) {
    orvik::test::TempDir dir;
    std::mt19937 random(20261206);
    std::string content;
    while (content.size() < size_t{200} * 1024) {  // spans several read-ahead blocks
        content += std::string(random() % 150, static_cast<char>('a' + random() % 26));
        content += (random() % 4 == 0) ? "\r\n" : "\n";
    }
    CFile buffered;
    Unbuffered plain;
    for (CFile* file : {&buffered, static_cast<CFile*>(&plain)}) {
        const std::string name = dir.Write(file == &plain ? "plain" : "buffered", content);
        ASSERT_EQ(FILE_Open(file, name.c_str(), ORVIK_OPEN_READ_WRITE, ORVIK_OPEN_KEEP), nullptr);
    }
    for (int i = 0; i < 4000; ++i) {
        const auto kind = static_cast<uint32_t>(random() % 9);
        const auto arg = static_cast<uint32_t>(random());
        const std::string expected = Step(plain, dir / "plain", kind, arg);
        ASSERT_EQ(Step(buffered, dir / "buffered", kind, arg), expected)
            << "step " << i << " kind " << kind;
    }
    FILE_Close(&buffered);
    FILE_Close(&plain);
    EXPECT_EQ(dir.Read("buffered"), dir.Read("plain"));
    EXPECT_GT(plain.m_reads, 10000) << "the host's class was read byte by byte";
}

}  // namespace
