// The running program's name cut to the directory above the program's own
// by FILE_GetModulePathName.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "OrvikAfx.h"
#include "OrvikFILE_Lib.h"
#include "OrvikFILE_Version.h"
#include "OrvikGEN_Lib.h"
#include "report_check.h"
#include "temp_dir.h"

namespace {

namespace fs = std::filesystem;

// Run where the build put it, and by the test below from copies whose names
// just fit in 259 bytes with their zero, or just do not.
TEST(ModulePath, TheDirectoryAboveTheRunningProgramsDirectory) {
    const fs::path executable = fs::read_symlink("/proc/self/exe");
    const bool fits = orvik::test::HostPath(executable.string()).size() < 259;
    const std::string expected =
        fits ? orvik::test::HostPath(executable.parent_path().parent_path().string()) : "";

    std::vector<char> buffer(259, '#');  // a write past it stops AddressSanitizer
    GEN_SetRetCode(orvik::test::kNoSuchCode);
    const int32_t result = FILE_GetModulePathName(buffer.data());
    EXPECT_EQ(result, fits ? static_cast<int32_t>(expected.size()) : ORVIK_MODULE_NO_NAME);
    EXPECT_EQ(std::string(buffer.data()), expected);
    EXPECT_EQ(FILE_GetModulePathName(nullptr), ORVIK_MODULE_NULL_BUFFER);
    EXPECT_EQ(GEN_GetRetCode(), orvik::test::kNoSuchCode) << "the return code is left alone";
    EXPECT_STREQ(AfxGetVersion(), ORVIK_FILE_VERSION_STRING) << "the running libraries' version";
    if (const char* wanted = std::getenv("ORVIK_EXPECT_MODULE_RESULT")) {
        EXPECT_EQ(result, std::atoi(wanted));
    }
}

// Copies of this program whose names, as handed back, have 258 bytes (the
// most that fits) and 259, each run by itself on the test above.
TEST(ModulePath, TheLongestNameThatFitsAndOneMore) {
    const orvik::test::TempDir dir;
    const std::string component(40, 'd');
    fs::path deep = dir.path();
    while (orvik::test::HostPath((deep / component).string()).size() + 20 < 258) {
        deep /= component;
    }
    fs::create_directories(deep);
    const size_t room = 258 - orvik::test::HostPath(deep.string()).size() - 1;
    const int32_t above =
        static_cast<int32_t>(orvik::test::HostPath(deep.parent_path().string()).size());
    for (const auto& [leaf, result] :
         {std::pair{room, above}, {room + 1, int32_t{ORVIK_MODULE_NO_NAME}}}) {
        const fs::path copy = deep / std::string(leaf, 'p');
        fs::copy_file("/proc/self/exe", copy);
        fs::permissions(copy, fs::perms::owner_exec, fs::perm_options::add);
        const std::string command = "ORVIK_EXPECT_MODULE_RESULT=" + std::to_string(result) + " '" +
                                    copy.string() +
                                    "' --gtest_filter=ModulePath.TheDirectoryAbove* 2>&1 |"
                                    " grep -q 'PASSED  ] 1 test'";
        if (std::system(("'" + copy.string() + "' --gtest_list_tests >/dev/null 2>&1").c_str()) !=
            0) {
            GTEST_SKIP() << "programs cannot run from " << dir.path();
        }
        EXPECT_EQ(std::system(command.c_str()), 0) << command;
    }
}

}  // namespace
