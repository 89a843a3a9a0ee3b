// FILE_FindSuffix on any name: the suffix lies in the base part, and the
// cut base is eight characters from the base start.
#include <algorithm>

#include "OrvikFILE_Lib.h"
#include "OrvikGEN_Lib.h"
#include "fuzz_input.h"

using orvik::fuzz::Buffer;
using orvik::fuzz::Require;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    orvik::fuzz::Input input(data, size);
    const std::string original = input.Text();
    Buffer name(original, original.size() + 1);
    const auto length = static_cast<int32_t>(original.size());

    GEN_SetRetCode(77);
    const int32_t plain = FILE_FindSuffix(name.data(), 0);
    const int32_t limited = FILE_FindSuffix(name.data(), 1);
    Require(FILE_FindSuffix(name.data(), -1) == limited, "any nonzero flag limits the base");
    Require(GEN_GetRetCode() == 77, "the return code is left alone");
    Require(name.text() == original, "the name is not changed");

    const size_t separator = original.find_last_of("\\:");
    const auto baseStart = static_cast<int32_t>(separator == std::string::npos ? 0 : separator + 1);
    const size_t stop = original.find_last_of('.');
    const bool hasSuffix = stop != std::string::npos && static_cast<int32_t>(stop) >= baseStart;
    Require(plain == (hasSuffix ? static_cast<int32_t>(stop) : length),
            "the suffix is the base part's last full stop, else the end");
    Require(limited == (plain - baseStart > 8 ? baseStart + 8 : plain),
            "a base longer than eight is cut to eight");
    Require(0 <= limited && limited <= plain && plain <= length, "indexes lie within the name");
    return 0;
}
