#include "name_fold.h"

#include <utf8proc.h>

#include "OrvikSTR_Lib.h"
#include "host_name.h"

namespace orvik::afx {

namespace {

char AsciiLower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c + ('a' - 'A')) : c;
}

void AppendCodePoint(std::string& out, utf8proc_int32_t codePoint) {
    utf8proc_uint8_t bytes[4];
    const utf8proc_ssize_t length = utf8proc_encode_char(codePoint, bytes);
    out.append(reinterpret_cast<const char*>(bytes), static_cast<size_t>(length));
}

// Full case folding can turn one character into up to three (ß into ss).
void AppendFolded(std::string& out, utf8proc_int32_t codePoint) {
    utf8proc_int32_t folded[4];
    int boundClass = 0;
    const utf8proc_ssize_t count =
        utf8proc_decompose_char(codePoint, folded, 4, UTF8PROC_CASEFOLD, &boundClass);
    if (count < 1 || count > 4) {
        AppendCodePoint(out, codePoint);
        return;
    }
    for (utf8proc_ssize_t i = 0; i < count; ++i) {
        AppendCodePoint(out, folded[i]);
    }
}

void AppendLower(std::string& out, utf8proc_int32_t codePoint) {
    AppendCodePoint(out, utf8proc_tolower(codePoint));
}

// `name` with every valid UTF-8 character handed to `append`, ASCII
// lowered directly, and every other byte kept as it is.
template <typename Append>
std::string MapUtf8(const std::string& name, Append append) {
    std::string out;
    out.reserve(name.size());
    const auto* bytes = reinterpret_cast<const utf8proc_uint8_t*>(name.data());
    const auto size = static_cast<utf8proc_ssize_t>(name.size());
    for (utf8proc_ssize_t at = 0; at < size;) {
        if (bytes[at] < 0x80) {
            out += AsciiLower(static_cast<char>(bytes[at++]));
            continue;
        }
        utf8proc_int32_t codePoint = 0;
        const utf8proc_ssize_t length = utf8proc_iterate(bytes + at, size - at, &codePoint);
        if (length < 1) {
            out += static_cast<char>(bytes[at++]);
            continue;
        }
        append(out, codePoint);
        at += length;
    }
    return out;
}

bool NamesAreUtf8() {
    return STR_GetCodePage() == STR_CODEPAGE_UTF8;
}

bool IsAscii(const std::string& name) {
    for (const char c : name) {
        if (static_cast<unsigned char>(c) >= 0x80) {
            return false;
        }
    }
    return true;
}

// ASCII folds and lowers the same way in every code page, and holds no
// stand-in: the common case, without a look at Unicode's tables.
std::string AsciiLowered(std::string name) {
    for (char& c : name) {
        c = AsciiLower(c);
    }
    return name;
}

}  // namespace

std::string FoldedName(const std::string& name) {
    if (NamesAreUtf8()) {
        // One pass for the common case: lowered as ASCII while looking for
        // a byte that is not.
        std::string folded(name);
        unsigned char seen = 0;
        for (char& c : folded) {
            seen |= static_cast<unsigned char>(c);
            c = AsciiLower(c);
        }
        if (seen < 0x80) {
            return folded;
        }
    }
    // A stand-in of the host form matches the character it stands for.
    if (NamesAreUtf8()) {
        return MapUtf8(LinuxComponent(name), AppendFolded);
    }
    std::string folded = LinuxComponent(name);
    for (char& c : folded) {
        c = static_cast<char>(STR_ANSI2Upper4Char(static_cast<unsigned char>(c)));
    }
    return folded;
}

std::string LowerName(const std::string& name) {
    if (NamesAreUtf8() && !IsAscii(name)) {
        return MapUtf8(name, AppendLower);
    }
    return AsciiLowered(name);
}

}  // namespace orvik::afx
