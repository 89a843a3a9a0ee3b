// FILE_ShrinkName into a destination of exactly maxChars + 1 bytes: the
// result is -1 exactly for bad arguments, otherwise the name itself, its
// first maxChars characters, or a head, "..." and the last component, and
// never longer than maxChars.
#include <algorithm>

#include "OrvikFILE_Lib.h"
#include "OrvikGEN_Lib.h"
#include "OrvikSTR_Lib.h"
#include "fuzz_input.h"

using orvik::fuzz::Buffer;
using orvik::fuzz::Require;

namespace {

void RequireShortForm(const std::string& shrunk, const std::string& name, int32_t maxChars) {
    const auto limit = static_cast<size_t>(maxChars);
    if (name.size() <= limit) {
        Require(shrunk == name, "a name that fits is copied whole");
        return;
    }
    const size_t backslash = name.rfind('\\');
    const std::string tail = backslash == std::string::npos ? "" : name.substr(backslash);
    if (backslash == std::string::npos || tail.size() + 3 > limit) {
        Require(shrunk == name.substr(0, limit), "otherwise the first maxChars characters");
        return;
    }
    Require(shrunk.size() >= tail.size() + 3, "room for the dots and the tail");
    const size_t headLength = shrunk.size() - 3 - tail.size();
    Require(shrunk.compare(headLength, std::string::npos, "..." + tail) == 0,
            "the last component follows three full stops");
    Require(name.compare(0, headLength, shrunk, 0, headLength) == 0, "the head starts the name");
    const size_t keep = limit - tail.size() - 3;
    const size_t inKeep = name.substr(0, keep).rfind('\\');
    Require(headLength == (inKeep == std::string::npos ? keep : inKeep + 1),
            "the head is cut back to its last backslash");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    orvik::fuzz::Input input(data, size);
    const int32_t byte = input.Byte();
    const int32_t maxChars = byte < 0x80 ? byte : byte - 0x100;  // -128 to 127
    const uint8_t flags = input.Byte();
    const bool nullDest = (flags & 1) != 0;
    const bool nullSrc = (flags & 2) != 0;
    const std::string original = input.Text();

    Buffer src(original, original.size() + 1);
    Buffer dest(std::string(), static_cast<size_t>(std::max(maxChars, 0)) + 1);

    GEN_SetRetCode(77);
    const int32_t result =
        FILE_ShrinkName(nullDest ? nullptr : dest.data(), nullSrc ? nullptr : src.data(), maxChars);
    Require(GEN_GetRetCode() == 0, "the return code is cleared");

    const bool bad = nullDest || nullSrc || maxChars < 1;
    Require((result == -1) == bad, "-1 exactly for bad arguments");
    if (bad) {
        Require(src.text() == original, "a refused call leaves the source");
        Require(nullDest || dest.text().empty(), "a refused call leaves an empty text");
        return 0;
    }

    std::string stripped = original;
    stripped.resize(static_cast<size_t>(STR_StripBlanks(stripped.data())));
    Require(src.text() == stripped, "the source keeps its stripped form");

    const std::string shrunk = dest.text();
    Require(result == static_cast<int32_t>(shrunk.size()), "the result is the length written");
    Require(result <= maxChars, "never longer than maxChars");
    RequireShortForm(shrunk, stripped, maxChars);
    return 0;
}
