#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <string>
#include <vector>

#include "OrvikAfx.h"
#include "temp_dir.h"

namespace {

// As names are handed back: C:\work\build\tests\afx_tests.
std::string RunningProgram() {
    return orvik::test::HostPath(std::filesystem::read_symlink("/proc/self/exe").string());
}

TEST(ModuleFileName, NamesTheRunningProgramWithBackslashes) {
    const std::string expected = RunningProgram();
    std::vector<char> buffer(expected.size() + 1, '#');
    EXPECT_EQ(AfxGetModuleFileName(buffer.data(), static_cast<DWORD>(buffer.size())),
              expected.size());
    EXPECT_EQ(std::string(buffer.data()), expected);
    EXPECT_EQ(expected.find('/'), std::string::npos);
}

TEST(ModuleFileName, RefusesANameThatDoesNotFit) {
    const std::string expected = RunningProgram();
    std::vector<char> buffer(expected.size() + 8, '#');
    errno = 0;
    EXPECT_EQ(AfxGetModuleFileName(buffer.data(), static_cast<DWORD>(expected.size())), 0u);
    EXPECT_EQ(errno, ENAMETOOLONG);
    EXPECT_EQ(buffer[0], '\0') << "an empty text, not a cut name";
    EXPECT_EQ(buffer[1], '#');

    errno = 0;
    EXPECT_EQ(AfxGetModuleFileName(nullptr, 100), 0u);
    EXPECT_EQ(errno, EINVAL);
    EXPECT_EQ(AfxGetModuleFileName(buffer.data(), 0), 0u);
    EXPECT_EQ(buffer[1], '#');
}

}  // namespace
