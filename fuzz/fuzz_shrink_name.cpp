// FILE_ShrinkName into a destination of exactly maxChars + 1 bytes: -1
// exactly for bad arguments, otherwise the stripped name itself, its first
// maxChars characters, or a head cut at a backslash, "..." and the last
// component.
#include "OrvikFILE_Lib.h"
#include "OrvikGEN_Lib.h"
#include "OrvikSTR_Lib.h"
#include "fuzz.h"

using orvik::fuzz::Require;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    orvik::fuzz::Input input(data, size);
    const auto maxChars = static_cast<int32_t>(static_cast<int8_t>(input.Byte()));
    const uint8_t flags = input.Byte();
    const std::string original = input.Text();
    auto src = orvik::fuzz::Buffer(original, original.size() + 1);
    auto dest = orvik::fuzz::Buffer("", static_cast<size_t>(std::max(maxChars, 0)) + 1);

    GEN_SetRetCode(77);
    const int32_t result = FILE_ShrinkName((flags & 1) ? nullptr : dest.data(),
                                           (flags & 2) ? nullptr : src.data(), maxChars);
    Require(GEN_GetRetCode() == 0, "the return code is cleared");
    const bool bad = (flags & 3) != 0 || maxChars < 1;
    Require((result == -1) == bad, "-1 exactly for bad arguments");
    Require(dest[0] == '\0' || !bad, "a refused call leaves an empty text");
    if (bad) {
        Require(src.data() == original, "a refused call leaves the source");
        return 0;
    }
    std::string name = original;
    name.resize(static_cast<size_t>(STR_StripBlanks(name.data())));
    Require(src.data() == name, "the source keeps its stripped form");
    const std::string shrunk = dest.data();
    Require(result == static_cast<int32_t>(shrunk.size()), "the result is the length written");
    const auto limit = static_cast<size_t>(maxChars);
    const size_t backslash = name.rfind('\\');
    const std::string tail = backslash == std::string::npos ? "" : name.substr(backslash);
    if (name.size() <= limit || backslash == std::string::npos || tail.size() + 3 > limit) {
        Require(shrunk == name.substr(0, limit), "the name whole, or its first maxChars");
        return 0;
    }
    const size_t keep = limit - tail.size() - 3;
    const size_t inKeep = name.substr(0, keep).rfind('\\');
    const size_t head = inKeep == std::string::npos ? keep : inKeep + 1;
    Require(shrunk == name.substr(0, head) + "..." + tail, "a head, three stops and the tail");
    return 0;
}
