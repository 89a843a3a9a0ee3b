// FILE_NewSuffix in a name buffer of exactly max(length + 1, p + 5) bytes,
// p being the old suffix's position: everything before p stays, and what
// follows is a full stop and at most three characters of the new suffix.
#include <algorithm>

#include "OrvikFILE_Lib.h"
#include "OrvikGEN_Lib.h"
#include "fuzz_input.h"

using orvik::fuzz::Buffer;
using orvik::fuzz::Require;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    orvik::fuzz::Input input(data, size);
    const bool nullSuffix = (input.Byte() & 1) != 0;
    const std::string original = input.Text();
    const std::string newSuffix = input.Text();

    const auto position = static_cast<size_t>(FILE_FindSuffix(original.c_str(), 0));
    Buffer name(original, std::max(original.size() + 1, position + 5));
    Buffer suffix(newSuffix, newSuffix.size() + 1);

    GEN_SetRetCode(77);
    const int32_t result = FILE_NewSuffix(name.data(), nullSuffix ? nullptr : suffix.data());
    Require(GEN_GetRetCode() == 77, "the return code is left alone");
    Require(suffix.text() == newSuffix, "the new suffix is read only");

    const std::string after = name.text();
    Require(result == static_cast<int32_t>(after.size()), "the result is the new length");
    Require(after.compare(0, position, original, 0, position) == 0, "the base stays");

    std::string wanted = nullSuffix ? std::string() : newSuffix;
    if (!wanted.empty() && wanted[0] == '.') {
        wanted.erase(0, 1);
    }
    const std::string written = after.substr(position);
    Require(written == (wanted.empty() ? std::string() : "." + wanted.substr(0, 3)),
            "a full stop and at most three suffix characters, or nothing");
    return 0;
}
