#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <string>

#include "OrvikAfx.h"

TEST(FileException, MessageNamesCauseFileAndSystemError) {
    // The C library's own text for an errno that it has no name for.
    const std::string unnamed = std::strerror(150);
    ASSERT_FALSE(unnamed.empty());
    const struct {
        int cause;
        LONG osError;
        const char* name;
        std::string text;
    } rows[] = {
        {CFileException::accessDenied, EACCES, "/srv/data.txt",
         "Access denied to /srv/data.txt: Permission denied"},
        {CFileException::endOfFile, -1, nullptr,
         "Attempt to read past the end of an unnamed file."},
        {42, EIO, "f", "The file operation failed on f: Input/output error"},
        {CFileException::generic, 150, "F.TXT",
         "An unspecified error occurred with F.TXT: " + unnamed},
    };
    for (const auto& row : rows) {
        char text[256];
        UINT help = 99;
        CFileException e(row.cause, row.osError, row.name);
        ASSERT_TRUE(e.GetErrorMessage(text, sizeof text, &help)) << row.text;
        EXPECT_EQ(help, 0u);
        EXPECT_EQ(text, row.text);
    }
    char text[8];
    CFileException unknown(-1);
    EXPECT_FALSE(unknown.GetErrorMessage(text, sizeof text)) << "nothing to say";
    EXPECT_STREQ(text, "");
}

TEST(FileException, MessageIsCutToTheCapacityAndTerminated) {
    CFileException e(CFileException::fileNotFound, ENOENT, "/a/very/long/name/of/a/file");
    for (UINT capacity : {1u, 2u, 40u}) {
        std::string buffer(capacity + 8, '#');
        ASSERT_TRUE(e.GetErrorMessage(buffer.data(), capacity));
        EXPECT_EQ(std::strlen(buffer.c_str()), capacity - 1);
        EXPECT_EQ(buffer[capacity], '#') << "wrote past the capacity " << capacity;
    }
    char untouched = '#';
    EXPECT_FALSE(e.GetErrorMessage(nullptr, 10));
    EXPECT_FALSE(e.GetErrorMessage(&untouched, 0));
    EXPECT_EQ(untouched, '#');
}

// The causes a host sees for the commonest errors; an unknown one is generic.
TEST(FileException, ErrnoMapsToCause) {
    const struct {
        int err, cause;
    } rows[] = {
        {ENOENT, CFileException::fileNotFound}, {EACCES, CFileException::accessDenied},
        {EROFS, CFileException::accessDenied},  {EMFILE, CFileException::tooManyOpenFiles},
        {ENOSPC, CFileException::diskFull},     {150, CFileException::generic},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(CFileException::ErrnoToException(row.err), row.cause) << std::strerror(row.err);
    }
}

TEST(FileException, ThrownAsPointerDeletedByCatcherUnlessKept) {
    try {
        AfxThrowFileException(CFileException::diskFull, ENOSPC, "x");
    } catch (CFileException* e) {
        EXPECT_EQ(e->m_cause, CFileException::diskFull);
        EXPECT_EQ(e->m_lOsError, ENOSPC);
        EXPECT_EQ(e->m_strFileName, "x");
        e->Delete();  // the sanitizer build reports a leak or a double free
    }
    struct Kept : CException {
        Kept() : CException(FALSE) {}
    } kept;
    kept.Delete();  // on the stack: deleting it would be fatal
    char text[4] = "abc";
    UINT help = 99;
    EXPECT_FALSE(kept.GetErrorMessage(text, sizeof text, &help) ||
                 kept.GetErrorMessage(nullptr, 0) || kept.GetErrorMessage(text, 0));
    EXPECT_EQ(help * 100 + static_cast<UINT>(text[0]), 0u)
        << "a plain exception has nothing to say";
}

TEST(String, NullIsEmptyAndALengthCuts) {
    CString text(nullptr), cut("abcdef", 3), none("abc", 0), null(nullptr, 3);
    text += nullptr;
    text += "xy";
    EXPECT_EQ(text, "xy");
    EXPECT_EQ(cut, "abc");
    EXPECT_EQ(none = nullptr, null);
}
