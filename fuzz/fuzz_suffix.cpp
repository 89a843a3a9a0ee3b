// FILE_FindSuffix and FILE_NewSuffix on any name: the suffix is the base
// part's last full stop, a limited base is cut to eight characters, and a
// new suffix, in a buffer of exactly max(length + 1, suffix + 5) bytes,
// keeps everything before the old one and adds a full stop and at most three
// characters.
#include "OrvikFILE_Lib.h"
#include "OrvikGEN_Lib.h"
#include "fuzz.h"

using orvik::fuzz::Require;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    orvik::fuzz::Input input(data, size);
    const bool nullSuffix = (input.Byte() & 1) != 0;
    const std::string original = input.Text();
    std::string wanted = input.Text();

    GEN_SetRetCode(77);
    const int32_t plain = FILE_FindSuffix(original.c_str(), 0);
    const int32_t limited = FILE_FindSuffix(original.c_str(), 1);
    const size_t separator = original.find_last_of("\\:");
    const auto base = static_cast<int32_t>(separator == std::string::npos ? 0 : separator + 1);
    const size_t stop = original.find_last_of('.');
    const bool hasSuffix = stop != std::string::npos && static_cast<int32_t>(stop) >= base;
    Require(plain == static_cast<int32_t>(hasSuffix ? stop : original.size()),
            "the suffix position");
    Require(limited == (plain - base > 8 ? base + 8 : plain), "a base past eight is cut to eight");

    const auto position = static_cast<size_t>(plain);
    auto name = orvik::fuzz::Buffer(original, std::max(original.size() + 1, position + 5));
    auto suffix = orvik::fuzz::Buffer(wanted, wanted.size() + 1);
    const int32_t result = FILE_NewSuffix(name.data(), nullSuffix ? nullptr : suffix.data());
    const std::string after = name.data();
    Require(GEN_GetRetCode() == 77, "the return code is left alone");
    Require(result == static_cast<int32_t>(after.size()), "the result is the new length");
    Require(after.compare(0, position, original, 0, position) == 0, "the base stays");
    wanted = nullSuffix ? "" : wanted.substr(!wanted.empty() && wanted[0] == '.' ? 1 : 0, 3);
    Require(after.substr(position) == (wanted.empty() ? "" : "." + wanted), "the new suffix");
    return 0;
}
