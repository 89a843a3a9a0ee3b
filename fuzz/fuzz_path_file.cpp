// FILE_PathFile in a destination of exactly dir + file + 3 bytes: the path
// is in its normal form whatever the two names hold.
#include <algorithm>

#include "OrvikFILE_Lib.h"
#include "OrvikGEN_Lib.h"
#include "OrvikSTR_Lib.h"
#include "fuzz_input.h"

using orvik::fuzz::Buffer;
using orvik::fuzz::Require;

namespace {

std::string WithBackslashes(std::string text) {
    std::replace(text.begin(), text.end(), '/', '\\');
    return text;
}

void RequireNormalForm(const std::string& path, const std::string& dir) {
    for (size_t i = 0; i < path.size(); ++i) {
        const auto byte = static_cast<unsigned char>(path[i]);
        Require(STR_ANSI2Upper4Char(byte) == byte, "every byte is in upper case");
        Require(path[i] != '/', "no forward slash");
        Require(i < 2 || path[i] != '\\' || path[i - 1] != '\\',
                "no doubled backslash but a leading pair");
    }
    if (path.size() >= 2 && path[0] == '\\' && path[1] == '\\') {
        Require(dir.size() >= 2 && dir[0] == '\\' && dir[1] == '\\',
                "a leading pair only from the directory");
    }
    if (!path.empty()) {
        Require(path.back() != ':', "a drive alone gets its backslash");
    }
    if (path.size() >= 2 && path.back() == '\\') {
        Require(path[path.size() - 2] == ':', "a final backslash only behind a drive colon");
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    orvik::fuzz::Input input(data, size);
    const uint8_t flags = input.Byte();
    const bool nullDir = (flags & 1) != 0;
    const bool nullFile = (flags & 2) != 0;
    const std::string dirText = input.Text();
    const std::string fileText = input.Text();

    Buffer dir(dirText, dirText.size() + 1);
    Buffer file(fileText, fileText.size() + 1);
    const size_t capacity = dirText.size() + fileText.size() + 3;
    Buffer dest("", capacity);

    GEN_SetRetCode(77);
    const int32_t length = FILE_PathFile(dest.data(), nullDir ? nullptr : dir.data(),
                                         nullFile ? nullptr : file.data());
    Require(GEN_GetRetCode() == 77, "the return code is left alone");

    const std::string path = dest.text();
    Require(length == static_cast<int32_t>(path.size()), "the result is the length written");
    Require(path.size() < capacity, "the path fits the capacity owed");
    Require(dir.text() == (nullDir ? dirText : WithBackslashes(dirText)),
            "the directory's slashes become backslashes");
    Require(file.text() == (nullFile ? fileText : WithBackslashes(fileText)),
            "the file name's slashes become backslashes");
    RequireNormalForm(path, nullDir ? std::string() : dir.text());
    if ((nullDir || dirText.empty()) && (nullFile || fileText.empty())) {
        Require(path.empty(), "nothing gives nothing");
    }
    return 0;
}
