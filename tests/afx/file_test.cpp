#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>

#include <cerrno>
#include <functional>
#include <string>
#include <thread>

#include "OrvikAfx.h"
#include "OrvikFILE_Codes.h"
#include "OrvikFILE_Lib.h"
#include "OrvikGEN_Lib.h"
#include "report_check.h"
#include "temp_dir.h"

namespace {

constexpr UINT kReadShared = CFile::modeRead | CFile::shareDenyWrite;
constexpr UINT kWriteExclusive = CFile::modeReadWrite | CFile::shareExclusive;

// The cause of the CFileException that `operation` throws, or -100.
int CauseThrownBy(const std::function<void()>& operation) {
    try {
        operation();
    } catch (CFileException* e) {
        const int cause = e->m_cause;
        e->Delete();
        return cause;
    }
    return -100;
}

class PlatformFile : public ::testing::Test {
protected:
    orvik::test::TempDir dir;
};

TEST_F(PlatformFile, OpensReadsKnowsItsNamesAndClosesForGood) {
    CFile file;
    ASSERT_TRUE(file.Open(dir.Write("data.txt", "hello world").c_str(), kReadShared));
    EXPECT_EQ(file.GetFilePath(), dir.Host("data.txt").c_str());
    EXPECT_EQ(file.GetFileName(), "data.txt");
    const int fd = static_cast<int>(file.m_hFile);
    file.Close();
    EXPECT_EQ(file.m_hFile, CFile::hFileNull);
    EXPECT_EQ(file.GetFilePath(), "") << "a closed file forgets its path";
    EXPECT_EQ(::fcntl(fd, F_GETFD), -1) << "the descriptor is gone";
    file.Close();  // closing twice is harmless
    {
        CFile scoped(dir.Write("d.txt", "x").c_str(), kReadShared);
        file.m_hFile = scoped.m_hFile;
    }
    EXPECT_EQ(::fcntl(static_cast<int>(file.m_hFile), F_GETFD), -1) << "the destructor closes";
    file.m_hFile = CFile::hFileNull;
}

// The cause of each refusal is held against the disk in the hostile
// neighbour test; here the record and the exception.
TEST_F(PlatformFile, RefusedOpenFillsTheRecordWithoutThrowing) {
    const std::string missing = dir / "missing.txt";
    CFile file;
    CFileException error;
    EXPECT_FALSE(file.Open(missing.c_str(), kReadShared, &error));
    EXPECT_EQ(error.m_cause, CFileException::fileNotFound);
    EXPECT_EQ(error.m_lOsError, ENOENT);
    EXPECT_EQ(error.m_strFileName, missing.c_str());
    EXPECT_EQ(file.m_hFile, CFile::hFileNull);
    EXPECT_EQ(CauseThrownBy([&] { CFile thrower(missing.c_str(), kReadShared); }),
              CFileException::fileNotFound);
}

TEST_F(PlatformFile, CreateEmptiesNoTruncateKeepsAndLocksGuardTheContent) {
    const std::string name = dir.Write("f.txt", "old content");
    {
        CFile keep(name.c_str(), kWriteExclusive | CFile::modeCreate | CFile::modeNoTruncate);
        EXPECT_EQ(keep.GetLength(), 11u);
        CFile refused;
        CFileException error;
        EXPECT_FALSE(refused.Open(name.c_str(), kReadShared | CFile::modeCreate, &error));
        EXPECT_EQ(error.m_cause, CFileException::sharingViolation);
        EXPECT_EQ(error.m_lOsError, EWOULDBLOCK);
        EXPECT_EQ(dir.Read("f.txt"), "old content") << "a refused open must not empty the file";
    }
    {
        CFile denies(name.c_str(), kReadShared);
        CFile emptying;
        CFileException error;
        EXPECT_FALSE(emptying.Open(name.c_str(), kReadShared | CFile::modeCreate, &error))
            << "emptying is a write, which a deny-write opener keeps out";
        EXPECT_EQ(error.m_cause, CFileException::sharingViolation);
        EXPECT_EQ(dir.Read("f.txt"), "old content");
    }
    CFile reader(name.c_str(), kReadShared | CFile::modeCreate), second(name.c_str(), kReadShared);
    EXPECT_EQ(CauseThrownBy([&] { reader.Write("x", 1); }), CFileException::accessDenied);
    EXPECT_EQ(CauseThrownBy([&] { reader.SetLength(4); }), CFileException::accessDenied);
    CFile writer, unguarded;
    EXPECT_FALSE(writer.Open(name.c_str(), kWriteExclusive)) << "readers keep writers out";
    EXPECT_FALSE(writer.Open(name.c_str(), CFile::modeReadWrite | CFile::shareDenyWrite));
    EXPECT_TRUE(unguarded.Open(name.c_str(), CFile::modeRead | CFile::shareDenyNone))
        << "an opener without a share mode is not checked";
}

TEST_F(PlatformFile, SeekSetLengthAndTheirFailures) {
    CFile file((dir / "s.bin").c_str(), kWriteExclusive | CFile::modeCreate), closed;
    file.Write("0123456789", 10);
    EXPECT_EQ(file.Seek(2, CFile::begin), 2);
    EXPECT_EQ(file.Seek(3, CFile::current), 5);
    EXPECT_EQ(file.Seek(-1, CFile::end), 9);
    EXPECT_EQ(file.Seek(5, CFile::end), 15) << "past the end is allowed";
    EXPECT_EQ(CauseThrownBy([&] { file.Seek(-1, CFile::begin); }), CFileException::badSeek);
    EXPECT_EQ(CauseThrownBy([&] { file.Seek(0, 7); }), CFileException::badSeek);
    EXPECT_EQ(file.Seek(0, CFile::current), 15) << "a refused seek does not move";
    file.SetLength(4);
    EXPECT_EQ(file.GetLength(), 4u);
    EXPECT_EQ(file.Seek(0, CFile::current), 4) << "SetLength leaves the position at the end";
    file.SetLength(0xFFFFFFFFu);  // sparse: takes no disk space
    file.Seek(0, CFile::end);
    char none;
    EXPECT_EQ(file.Read(&none, 1), 0u) << "the end of a file that ends at the 32-bit end";
    file.SetLength(0xFFFFFFF0u);
    EXPECT_EQ(static_cast<uint32_t>(file.Seek(0, CFile::end)), 0xFFFFFFF0u) << "read back unsigned";
    EXPECT_EQ(CauseThrownBy([&] { file.Seek(0x10, CFile::current); }), CFileException::badSeek)
        << "a position past 4 GiB - 1 does not fit";
    file.Write("0123456789abcdefXYZ", 19);  // the file now ends past 4 GiB
    EXPECT_EQ(CauseThrownBy([&] { file.GetLength(); }), CFileException::badSeek);
    file.Seek(0x7FFFFFFF, CFile::begin);
    file.Seek(0x7FFFFFFF, CFile::current);
    char tail[4];
    EXPECT_EQ(file.Read(tail, 4), 1u) << "reads stop where the 32-bit position ends";
    EXPECT_EQ(CauseThrownBy([&] { file.Read(tail, 4); }), CFileException::badSeek);
    EXPECT_EQ(static_cast<uint32_t>(file.Seek(0, CFile::current)), 0xFFFFFFFFu);
    char byte;
    const std::function<void()> onClosed[] = {
        [&] { closed.Read(&byte, 1); }, [&] { closed.Write("x", 1); },
        [&] { closed.Seek(0, CFile::begin); }, [&] { closed.GetLength(); },
        [&] { closed.SetLength(0); }};
    for (const auto& operation : onClosed) {
        EXPECT_EQ(CauseThrownBy(operation), CFileException::invalidFile);
    }
    CFile full;
    if (full.Open("/dev/full", CFile::modeWrite)) {
        EXPECT_EQ(CauseThrownBy([&] { full.Write("x", 1); }), CFileException::diskFull);
    }
}

TEST_F(PlatformFile, FifosAndDevicesOpenWithoutWaiting) {
    const std::string fifo = dir / "fifo";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    CFile reader, writer, full;
    for (const UINT mode : {CFile::modeWrite, CFile::modeReadWrite}) {
        CFileException error;
        EXPECT_FALSE(writer.Open(fifo.c_str(), mode, &error)) << "no reader to write to";
        EXPECT_EQ(error.m_cause, CFileException::badPath);
        EXPECT_EQ(error.m_lOsError, ENXIO);
    }
    ASSERT_TRUE(reader.Open(fifo.c_str(), kReadShared | CFile::modeCreate)) << "opens at once";
    char line[8];
    uint32_t status = 0;
    EXPECT_REPORT(FILE_ReadStr(&reader, line, 7, &status), ORVIK_MSG_END_OF_FILE,
                  ORVIK_RC_END_OF_FILE, status, ORVIK_STATUS_END_OF_FILE)
        << "and reads as an empty file";
    ASSERT_TRUE(writer.Open(fifo.c_str(), CFile::modeWrite));
    std::thread late([&] { writer.Write("a\r\nb\n", 5), writer.Close(); });
    for (const char* expected : {"a", "b"}) {
        EXPECT_EQ(FILE_ReadStr(&reader, line, 7, &status), nullptr) << "waits for the writer";
        EXPECT_STREQ(line, expected);
    }
    late.join();
    EXPECT_NE(FILE_ReadStr(&reader, line, 7, &status), nullptr) << "the writer is gone";
    ASSERT_TRUE(reader.Open(fifo.c_str(), kReadShared));
    ASSERT_TRUE(writer.Open(fifo.c_str(), CFile::modeReadWrite)) << "another opener reads";
    EXPECT_EQ(CauseThrownBy([&] { writer.Read(line, 1); }), CFileException::accessDenied)
        << "read and write on a FIFO writes only";
    EXPECT_EQ(CauseThrownBy([&] { writer.SetLength(0); }), CFileException::badSeek)
        << "a FIFO has no length to set";
    reader.Close();
    EXPECT_EQ(CauseThrownBy([&] { writer.Write("x", 1); }), CFileException::generic)
        << "the reader is gone: EPIPE, and no SIGPIPE ends this process";
    if (full.Open("/dev/full", CFile::modeWrite)) {
        EXPECT_EQ(CauseThrownBy([&] { full.SetLength(0); }), CFileException::badSeek);
    }
}

TEST_F(PlatformFile, StatusAndRemoveByName) {
    const std::string name = dir.Write(".hidden", "12345");
    ::chmod(name.c_str(), 0444);
    CFileStatus status;
    ASSERT_TRUE(CFile::GetStatus(name.c_str(), status));
    EXPECT_EQ(status.m_size, 5u);
    EXPECT_EQ(status.m_attribute, CFile::readOnly | CFile::hidden);
    EXPECT_STREQ(status.m_szFullName, dir.Host(".hidden").c_str());
    ASSERT_TRUE(CFile::GetStatus(dir.path().c_str(), status));
    EXPECT_EQ(status.m_attribute & CFile::directory, CFile::directory);
    EXPECT_TRUE(CFile::GetStatus(dir.Write(std::string(250, 'n'), "").c_str(), status));
    EXPECT_STREQ(status.m_szFullName, "") << "a full name too long for the record";
    CFile named;
    named.SetFilePath("plain");
    EXPECT_EQ(named.GetFileName(), "plain") << "a path without a directory is its own name";
    EXPECT_FALSE(named.Open(nullptr, kReadShared) || named.Open("", kReadShared));
    CFile::Remove(name.c_str());  // read-only, yet removed
    EXPECT_EQ(CauseThrownBy([&] { CFile::Remove(""); }), CFileException::fileNotFound);
}

}  // namespace
