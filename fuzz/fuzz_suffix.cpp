// FILE_FindSuffix and FILE_NewSuffix on any name: the suffix is found at a
// full stop or at the end, a limited base is cut no later, and a new suffix,
// in a buffer of exactly max(length + 1, suffix + 5) bytes, keeps everything
// before the old one and adds at most a full stop and three characters.
#include "fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Input input(data, size);
    const bool nullSuffix = (input.Byte() & 1) != 0;
    const std::string original = input.Text(), wanted = input.Text();

    GEN_SetRetCode(77);
    const int32_t plain = FILE_FindSuffix(original.c_str(), 0);
    const auto position = static_cast<size_t>(plain);
    Require(0 <= plain && (position == original.size() || original[position] == '.'),
            "the suffix at a full stop, or none");
    const int32_t limited = FILE_FindSuffix(original.c_str(), 1);
    Require(0 <= limited && limited <= plain, "a limited base is cut no later");

    auto name = ExactBuffer(std::max(original.size() + 1, position + 5), original);
    auto suffix = ExactBuffer(wanted.size() + 1, wanted);
    const int32_t result = FILE_NewSuffix(name.data(), nullSuffix ? nullptr : suffix.data());
    const std::string after = name.data();
    Require(GEN_GetRetCode() == 77, "the return code is left alone");
    Require(result == static_cast<int32_t>(after.size()), "the result is the new length");
    Require(after.compare(0, position, original, 0, position) == 0 &&
                after.size() <= position + 4 &&
                (after.size() == position || after[position] == '.'),
            "the base stays, then a full stop and at most three characters");
    return 0;
}
