#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

#include "OrvikFILE_Lib.h"
#include "OrvikGEN_Lib.h"
#include "temp_dir.h"

namespace {

namespace fs = std::filesystem;

// Run once where the build put it and once more from a directory too deep
// for 259 bytes, by the test below; there the name must be refused.
TEST(ModulePath, TheDirectoryAboveTheRunningProgramsDirectory) {
    const fs::path executable = fs::read_symlink("/proc/self/exe");
    const bool fits = orvik::test::HostPath(executable.string()).size() < 259;
    const std::string expected =
        fits ? orvik::test::HostPath(executable.parent_path().parent_path().string()) : "";

    char buffer[259 + 16];
    std::memset(buffer, '#', sizeof buffer);
    GEN_SetRetCode(77);
    const int32_t result = FILE_GetModulePathName(buffer);
    EXPECT_EQ(result, fits ? static_cast<int32_t>(expected.size()) : -2);
    EXPECT_EQ(std::string(buffer), expected);
    EXPECT_EQ(buffer[259], '#');
    EXPECT_EQ(GEN_GetRetCode(), 77) << "the return code is left alone";
    if (const char* wanted = std::getenv("ORVIK_EXPECT_MODULE_RESULT")) {
        EXPECT_EQ(result, std::atoi(wanted));
    }

    EXPECT_EQ(FILE_GetModulePathName(nullptr), -1);
    EXPECT_EQ(GEN_GetRetCode(), 77);
}

TEST(ModulePath, RefusesAnExecutableNameTooLongToCut) {
    orvik::test::TempDir dir;
    fs::path deep = dir.path();
    while (deep.string().size() < 300) {
        deep /= std::string(40, 'd');
    }
    fs::create_directories(deep);
    const fs::path copy = deep / "module_path_probe";
    fs::copy_file("/proc/self/exe", copy);
    fs::permissions(copy, fs::perms::owner_exec, fs::perm_options::add);

    const std::string run = "'" + copy.string() + "' --gtest_list_tests >/dev/null 2>&1";
    if (std::system(run.c_str()) != 0) {
        GTEST_SKIP() << "programs cannot run from " << dir.path();
    }
    const std::string command = "ORVIK_EXPECT_MODULE_RESULT=-2 '" + copy.string() +
                                "' --gtest_filter=ModulePath.TheDirectoryAbove* 2>&1 |"
                                " grep -q 'PASSED  ] 1 test'";
    EXPECT_EQ(std::system(command.c_str()), 0) << command;
}

}  // namespace
