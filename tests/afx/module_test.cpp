#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <string>
#include <vector>

#include "OrvikAfx.h"
#include "temp_dir.h"

namespace {

// The running program's name, with backslashes, in buffers of exactly the
// size given, so that AddressSanitizer stops a write past it. One byte too
// few refuses the name as a whole; so do no buffer and no room.
TEST(ModuleFileName, NamesTheRunningProgramOrRefusesIt) {
    const std::string name =  // as names are handed back: C:\work\build\tests\afx_tests
        orvik::test::HostPath(std::filesystem::read_symlink("/proc/self/exe").string());
    const DWORD size = static_cast<DWORD>(name.size());
    std::vector<char> fits(size + 1, '#'), tooShort(size, '#');
    EXPECT_EQ(AfxGetModuleFileName(fits.data(), size + 1), size);
    EXPECT_EQ(std::string(fits.data()), name);

    errno = 0;
    EXPECT_EQ(AfxGetModuleFileName(tooShort.data(), size), 0u);
    EXPECT_EQ(errno, ENAMETOOLONG);
    EXPECT_EQ(std::string(tooShort.data(), 2), std::string("\0#", 2)) << "empty, not cut";
    errno = 0;
    EXPECT_EQ(AfxGetModuleFileName(nullptr, 100), 0u);
    EXPECT_EQ(errno, EINVAL);
    EXPECT_EQ(AfxGetModuleFileName(tooShort.data() + 1, 0), 0u);
    EXPECT_EQ(tooShort[1], '#') << "no room: nothing written";
}

}  // namespace
