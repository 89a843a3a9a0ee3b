#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string>

#include "OrvikAfx.h"
#include "temp_dir.h"

namespace {

using orvik::test::TempDir;

constexpr UINT kReadShared = CFile::modeRead | CFile::shareDenyWrite;
constexpr UINT kWriteExclusive = CFile::modeReadWrite | CFile::shareExclusive;

// Runs `operation` and returns the cause of the CFileException it throws,
// or -100 when it throws none.
template <typename Operation>
int CauseThrownBy(Operation operation) {
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
    TempDir dir;
};

TEST_F(PlatformFile, OpensReadsAndKnowsItsNames) {
    const std::string name = dir.Write("data.txt", "hello world");
    CFile file;
    EXPECT_EQ(file.m_hFile, CFile::hFileNull);
    CFileException error;
    ASSERT_TRUE(file.Open(name.c_str(), kReadShared, &error));
    EXPECT_NE(file.m_hFile, CFile::hFileNull);
    EXPECT_EQ(file.GetFilePath(), dir.Host("data.txt").c_str());
    EXPECT_EQ(file.GetFileName(), "data.txt");
    EXPECT_EQ(file.GetLength(), 11u);
    char buffer[32] = {};
    EXPECT_EQ(file.Read(buffer, 5), 5u);
    EXPECT_STREQ(buffer, "hello");
    EXPECT_EQ(file.Read(buffer, sizeof buffer), 6u);
    EXPECT_EQ(file.Read(buffer, sizeof buffer), 0u) << "end of file";
    file.Close();
    EXPECT_EQ(file.m_hFile, CFile::hFileNull);
    EXPECT_EQ(file.GetFilePath(), "") << "a closed file forgets its path";
    file.Close();  // closing twice is harmless
}

TEST_F(PlatformFile, RelativeNameGivesFullPath) {
    dir.Write("rel.txt", "x");
    const std::string before = std::filesystem::current_path();
    std::filesystem::current_path(dir.path());
    CFile file;
    const BOOL opened = file.Open("./sub/../rel.txt", kReadShared);
    std::filesystem::current_path(before);
    ASSERT_FALSE(opened) << "sub does not exist, so the kernel refuses the ..";
    std::filesystem::current_path(dir.path());
    ASSERT_TRUE(file.Open("./rel.txt", kReadShared));
    std::filesystem::current_path(before);
    EXPECT_EQ(file.GetFilePath(), dir.Host("rel.txt").c_str());
}

TEST_F(PlatformFile, RefusedOpenFillsTheRecordWithoutThrowing) {
    CFile file;
    CFileException error;
    const std::string missing = dir / "missing.txt";
    EXPECT_FALSE(file.Open(missing.c_str(), kReadShared, &error));
    EXPECT_EQ(error.m_cause, CFileException::fileNotFound);
    EXPECT_EQ(error.m_lOsError, ENOENT);
    EXPECT_EQ(error.m_strFileName, missing.c_str());
    EXPECT_EQ(file.m_hFile, CFile::hFileNull);
    EXPECT_FALSE(file.Open(missing.c_str(), kReadShared)) << "no record is fine too";

    EXPECT_FALSE(file.Open(dir.path().c_str(), kReadShared, &error));
    EXPECT_EQ(error.m_cause, CFileException::accessDenied) << "a directory is not a file";
    EXPECT_FALSE(file.Open((dir / "missing/x").c_str(), kWriteExclusive | CFile::modeCreate, &error));
    EXPECT_EQ(error.m_cause, CFileException::fileNotFound);
    dir.Write("plain", "");
    EXPECT_FALSE(file.Open((dir / "plain/x").c_str(), kReadShared, &error));
    EXPECT_EQ(error.m_cause, CFileException::badPath);
}

TEST_F(PlatformFile, ConstructorThrowsOnRefusal) {
    const std::string missing = dir / "none";
    EXPECT_EQ(CauseThrownBy([&] { CFile file(missing.c_str(), kReadShared); }),
              CFileException::fileNotFound);
}

TEST_F(PlatformFile, CreateEmptiesAndNoTruncateKeeps) {
    const std::string name = dir.Write("f.txt", "old content");
    {
        CFile keep(name.c_str(), kWriteExclusive | CFile::modeCreate | CFile::modeNoTruncate);
        EXPECT_EQ(keep.GetLength(), 11u);
    }
    {
        CFile reader(name.c_str(), kReadShared | CFile::modeCreate);
        EXPECT_EQ(reader.GetLength(), 0u) << "emptied although opened for reading";
        EXPECT_EQ(CauseThrownBy([&] { reader.Write("x", 1); }), CFileException::accessDenied);
        EXPECT_EQ(CauseThrownBy([&] { reader.SetLength(4); }), CFileException::accessDenied);
    }
    CFile created((dir / "new.txt").c_str(), kWriteExclusive | CFile::modeCreate);
    created.Write("abc", 3);
    EXPECT_EQ(created.GetLength(), 3u);
}

TEST_F(PlatformFile, ShareModesActAsLocks) {
    const std::string name = dir.Write("shared.txt", "keep me");
    CFile reader1(name.c_str(), kReadShared);
    CFile reader2(name.c_str(), kReadShared);  // readers share
    CFile writer;
    CFileException error;
    EXPECT_FALSE(writer.Open(name.c_str(), kWriteExclusive | CFile::modeCreate, &error));
    EXPECT_EQ(error.m_cause, CFileException::sharingViolation);
    EXPECT_EQ(error.m_lOsError, EWOULDBLOCK);
    EXPECT_EQ(dir.Read("shared.txt"), "keep me") << "a refused open must not empty the file";
    reader1.Close();
    reader2.Close();
    ASSERT_TRUE(writer.Open(name.c_str(), kWriteExclusive, &error));
    CFile lateReader;
    EXPECT_FALSE(lateReader.Open(name.c_str(), kReadShared, &error));
    EXPECT_EQ(error.m_cause, CFileException::sharingViolation);
    CFile unguarded;
    EXPECT_TRUE(unguarded.Open(name.c_str(), CFile::modeRead | CFile::shareDenyNone))
        << "an opener without a share mode is not checked";
}

TEST_F(PlatformFile, SeekSetLengthAndTheirFailures) {
    CFile file((dir / "s.bin").c_str(), kWriteExclusive | CFile::modeCreate);
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
    char buffer[8] = {};
    file.SeekToBegin();
    EXPECT_EQ(file.Read(buffer, 8), 4u);
    EXPECT_STREQ(buffer, "0123");
}

TEST_F(PlatformFile, LargePositionsReadBackUnsigned) {
    CFile file((dir / "sparse.bin").c_str(), kWriteExclusive | CFile::modeCreate);
    file.SetLength(0xFFFFFFF0u);  // sparse: takes no disk space
    EXPECT_EQ(file.GetLength(), 0xFFFFFFF0u);
    EXPECT_EQ(static_cast<uint32_t>(file.Seek(0, CFile::end)), 0xFFFFFFF0u);
    EXPECT_EQ(CauseThrownBy([&] { file.Seek(0x10, CFile::current); }), CFileException::badSeek)
        << "a position past 4 GiB - 1 does not fit";
    file.Write("0123456789abcdefXYZ", 19);  // the file now ends past 4 GiB
    EXPECT_EQ(CauseThrownBy([&] { file.GetLength(); }), CFileException::generic);
}

TEST_F(PlatformFile, OperationsOnAClosedFileThrowInvalidFile) {
    CFile file;
    char byte;
    EXPECT_EQ(CauseThrownBy([&] { file.Read(&byte, 1); }), CFileException::invalidFile);
    EXPECT_EQ(CauseThrownBy([&] { file.Write("x", 1); }), CFileException::invalidFile);
    EXPECT_EQ(CauseThrownBy([&] { file.Seek(0, CFile::begin); }), CFileException::invalidFile);
    EXPECT_EQ(CauseThrownBy([&] { file.GetLength(); }), CFileException::invalidFile);
    EXPECT_EQ(CauseThrownBy([&] { file.SetLength(0); }), CFileException::invalidFile);
    EXPECT_EQ(file.Read(&byte, 0), 0u);
}

TEST_F(PlatformFile, WriteToAFullDeviceThrowsDiskFull) {
    CFile full;
    if (!full.Open("/dev/full", CFile::modeWrite)) {
        GTEST_SKIP() << "/dev/full is missing";
    }
    EXPECT_EQ(CauseThrownBy([&] { full.Write("x", 1); }), CFileException::diskFull);
}

TEST_F(PlatformFile, DestructorClosesTheDescriptor) {
    const std::string name = dir.Write("d.txt", "x");
    UINT handle;
    {
        CFile file(name.c_str(), kReadShared);
        handle = file.m_hFile;
    }
    errno = 0;
    EXPECT_EQ(::fcntl(static_cast<int>(handle), F_GETFD), -1);
    EXPECT_EQ(errno, EBADF);
}

TEST_F(PlatformFile, StatusOfFilesAndDirectories) {
    const std::string name = dir.Write(".hidden", "12345");
    ::chmod(name.c_str(), 0444);
    CFileStatus status;
    ASSERT_TRUE(CFile::GetStatus(name.c_str(), status));
    EXPECT_EQ(status.m_size, 5u);
    EXPECT_EQ(status.m_attribute, CFile::readOnly | CFile::hidden);
    EXPECT_STREQ(status.m_szFullName, dir.Host(".hidden").c_str());
    ASSERT_TRUE(CFile::GetStatus(dir.path().c_str(), status));
    EXPECT_EQ(status.m_attribute & CFile::directory, CFile::directory);
    EXPECT_FALSE(CFile::GetStatus((dir / "none").c_str(), status));
    EXPECT_FALSE(CFile::GetStatus("", status));
    EXPECT_FALSE(CFile::GetStatus(nullptr, status));
}

TEST_F(PlatformFile, RemoveDeletesOrThrows) {
    const std::string name = dir.Write("gone.txt", "x");
    CFile::Remove(name.c_str());
    EXPECT_FALSE(std::filesystem::exists(name));
    EXPECT_EQ(CauseThrownBy([&] { CFile::Remove(name.c_str()); }), CFileException::fileNotFound);
    EXPECT_EQ(CauseThrownBy([&] { CFile::Remove(""); }), CFileException::fileNotFound);
    EXPECT_EQ(CauseThrownBy([&] { CFile::Remove(dir.path().c_str()); }),
              CFileException::accessDenied);
}

}  // namespace
