#include "escape.h"

#include <locale.h>

#include <cstdio>
#include <cwchar>

namespace orvikfile {

namespace {

constexpr unsigned char kFirstPrintable = 0x20;
constexpr unsigned char kDelete = 0x7F;
constexpr wchar_t kLastCodePoint = 0x10FFFF;

bool IsControl(unsigned char byte) {
    return byte < kFirstPrintable || byte == kDelete;
}

std::string Hex(const char* format, unsigned char byte) {
    char text[8];
    std::snprintf(text, sizeof text, format, byte);
    return text;
}

// The C library's UTF-8 decoder, whatever locale the program runs in.
locale_t Utf8Locale() {
    static const locale_t utf8 = newlocale(LC_CTYPE_MASK, "C.UTF-8", locale_t{});
    return utf8;
}

// The length of the valid UTF-8 sequence of a character at the start of
// `bytes`, else 0. The decoder takes code points past U+10FFFF, which
// UTF-8 no longer allows.
size_t Utf8Length(std::string_view bytes) {
    const locale_t utf8 = Utf8Locale();
    if (!utf8) {
        return 0;
    }
    const locale_t previous = uselocale(utf8);
    std::mbstate_t state{};
    wchar_t character = 0;
    const size_t length = std::mbrtowc(&character, bytes.data(), bytes.size(), &state);
    uselocale(previous);
    const bool valid = length != 0 && length <= bytes.size() && character <= kLastCodePoint;
    return valid ? length : 0;
}

// Appends bytes[at] and what follows of its character to `out`, and steps
// past them: a control byte or DEL by `control`, a byte from 0x80 on as
// the Latin-1 character of its value by `latin1` unless `utf8`, where a
// valid UTF-8 sequence goes as it is and another byte by `invalid`.
template <typename Control, typename Latin1, typename Invalid>
void AppendCharacter(std::string& out, std::string_view bytes, size_t& at, bool utf8,
                     Control control, Latin1 latin1, Invalid invalid) {
    const auto byte = static_cast<unsigned char>(bytes[at]);
    if (IsControl(byte)) {
        control(byte);
    } else if (byte < kDelete) {
        out += bytes[at];
    } else if (!utf8) {
        latin1(byte);
    } else if (const size_t length = Utf8Length(bytes.substr(at)); length > 0) {
        out.append(bytes.substr(at, length));
        at += length;
        return;
    } else {
        invalid(byte);
    }
    ++at;
}

}  // namespace

std::string EscapeJson(std::string_view bytes, bool utf8) {
    std::string out;
    out.reserve(bytes.size());
    const auto unicode = [&out](unsigned char byte) { out += Hex("\\u%04x", byte); };
    const auto replacement = [&out](unsigned char) { out += "\\ufffd"; };
    for (size_t at = 0; at < bytes.size();) {
        if (bytes[at] == '"' || bytes[at] == '\\') {
            out += '\\';
            out += bytes[at++];
        } else {
            AppendCharacter(out, bytes, at, utf8, unicode, unicode, replacement);
        }
    }
    return out;
}

std::string EscapePlain(std::string_view bytes, bool utf8) {
    std::string out;
    out.reserve(bytes.size());
    const auto hex = [&out](unsigned char byte) { out += Hex("\\x%02x", byte); };
    const auto asItIs = [&out](unsigned char byte) { out += static_cast<char>(byte); };
    for (size_t at = 0; at < bytes.size();) {
        switch (bytes[at]) {
            case '\t':
                out += "\\t";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\r':
                out += "\\r";
                break;
            case '\\':
                out += "\\\\";
                break;
            default:
                AppendCharacter(out, bytes, at, utf8, hex, asItIs, hex);
                continue;
        }
        ++at;
    }
    return out;
}

}  // namespace orvikfile
