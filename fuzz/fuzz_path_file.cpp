// FILE_PathFile in a destination of exactly dir + file + 3 bytes: the path
// is in its normal form whatever the two names hold.
#include "fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Input input(data, size);
    const uint8_t flags = input.Byte();
    std::string dirText = input.Text(), fileText = input.Text();
    auto dir = ExactBuffer(dirText.size() + 1, dirText);
    auto file = ExactBuffer(fileText.size() + 1, fileText);
    auto dest = ExactBuffer(dirText.size() + fileText.size() + 3);

    GEN_SetRetCode(77);
    const int32_t length = FILE_PathFile(dest.data(), (flags & 1) ? nullptr : dir.data(),
                                         (flags & 2) ? nullptr : file.data());
    Require(GEN_GetRetCode() == 77, "the return code is left alone");
    const std::string path = dest.data();
    Require(length == static_cast<int32_t>(path.size()), "the result is the length written");
    std::replace(dirText.begin(), dirText.end(), '/', (flags & 1) ? '/' : '\\');
    std::replace(fileText.begin(), fileText.end(), '/', (flags & 2) ? '/' : '\\');
    Require(dir.data() == dirText && file.data() == fileText, "slashes become backslashes");
    for (size_t i = 0; i < path.size(); ++i) {
        const auto byte = static_cast<unsigned char>(path[i]);
        Require(STR_ANSI2Upper4Char(byte) == byte && byte != '/', "upper case, no slash");
        Require(i < 2 || path.compare(i - 1, 2, "\\\\") != 0, "no doubled backslash but a lead");
    }
    Require(path.rfind("\\\\", 0) != 0 || ((flags & 1) == 0 && dirText.rfind("\\\\", 0) == 0),
            "a leading pair only from the directory");
    Require(path.empty() || path.back() != ':', "a drive alone gets its backslash");
    return 0;
}
