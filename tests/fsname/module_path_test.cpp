#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

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

    std::vector<char> buffer(259, '#');  // a write past it stops AddressSanitizer
    GEN_SetRetCode(77);
    const int32_t result = FILE_GetModulePathName(buffer.data());
    EXPECT_EQ(result, fits ? static_cast<int32_t>(expected.size()) : -2);
    EXPECT_EQ(std::string(buffer.data()), expected);
    EXPECT_EQ(FILE_GetModulePathName(nullptr), -1);
    EXPECT_EQ(GEN_GetRetCode(), 77) << "the return code is left alone";
    if (const char* wanted = std::getenv("ORVIK_EXPECT_MODULE_RESULT")) {
        EXPECT_EQ(result, std::atoi(wanted));
    }
}

TEST(ModulePath, RefusesAnExecutableNameTooLongToCut) {
    const orvik::test::TempDir dir;
    fs::path deep = dir.path();
    while (deep.string().size() < 300) {
        deep /= std::string(40, 'd');
    }
    fs::create_directories(deep);
    const std::string copy = (deep / "module_path_probe").string();
    fs::copy_file("/proc/self/exe", copy);
    fs::permissions(copy, fs::perms::owner_exec, fs::perm_options::add);
    if (std::system(("'" + copy + "' --gtest_list_tests >/dev/null 2>&1").c_str()) != 0) {
        GTEST_SKIP() << "programs cannot run from " << dir.path();
    }
    const std::string command = "ORVIK_EXPECT_MODULE_RESULT=-2 '" + copy +
                                "' --gtest_filter=ModulePath.TheDirectoryAbove* 2>&1 |"
                                " grep -q 'PASSED  ] 1 test'";
    EXPECT_EQ(std::system(command.c_str()), 0) << command;
}

}  // namespace
