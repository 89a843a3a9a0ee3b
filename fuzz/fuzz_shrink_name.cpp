// FILE_ShrinkName into a destination of exactly maxChars + 1 bytes: -1
// exactly for bad arguments, which leave the source as it was; otherwise the
// source stripped of its blanks, and at most maxChars characters: the name
// whole when it fits, else its start, or a start, "..." and its last
// component.
#include "fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Input input(data, size);
    const auto maxChars = static_cast<int32_t>(static_cast<int8_t>(input.Byte()));
    const uint8_t flags = input.Byte();
    const std::string original = input.Text();
    auto src = ExactBuffer(original.size() + 1, original);
    auto dest = ExactBuffer(static_cast<size_t>(std::max(maxChars, 0)) + 1);

    GEN_SetRetCode(77);
    const int32_t result = FILE_ShrinkName((flags & 1) ? nullptr : dest.data(),
                                           (flags & 2) ? nullptr : src.data(), maxChars);
    Require(GEN_GetRetCode() == 0, "the return code is cleared");
    const bool bad = (flags & 3) != 0 || maxChars < 1;
    Require((result == -1) == bad && (dest[0] == '\0' || !bad), "-1 exactly for bad arguments");
    if (bad) {
        Require(src.data() == original, "a refused call leaves the source");
        return 0;
    }
    std::string name = original;
    name.resize(static_cast<size_t>(STR_StripBlanks(name.data())));
    Require(src.data() == name, "the source keeps its stripped form");
    const std::string shrunk = dest.data();
    Require(result == static_cast<int32_t>(shrunk.size()) && result <= maxChars,
            "the result is the length written, at most maxChars");
    Require(name.size() > static_cast<size_t>(maxChars) || shrunk == name,
            "a name that fits is copied whole");
    const std::string tail = "..." + name.substr(std::min(name.rfind('\\'), name.size()));
    const size_t head = shrunk.size() - std::min(shrunk.size(), tail.size());
    Require(name.compare(0, shrunk.size(), shrunk) == 0 ||
                (shrunk.compare(head, tail.size(), tail) == 0 &&
                 name.compare(0, head, shrunk, 0, head) == 0),
            "the name's start, or a start, three stops and the last component");
    return 0;
}
