#include "escape.h"

#include <cstdio>

namespace orvikfile {

namespace {

constexpr unsigned char kFirstPrintable = 0x20;
constexpr unsigned char kDelete = 0x7F;

bool IsControl(unsigned char byte) {
    return byte < kFirstPrintable || byte == kDelete;
}

std::string Hex(const char* format, unsigned char byte) {
    char text[8];
    std::snprintf(text, sizeof text, format, byte);
    return text;
}

}  // namespace

std::string EscapeJson(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size());
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (IsControl(byte) || byte > kDelete) {
            out += Hex("\\u%04x", byte);
        } else {
            out += c;
        }
    }
    return out;
}

std::string EscapePlain(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size());
    for (const char c : bytes) {
        switch (c) {
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
                if (IsControl(static_cast<unsigned char>(c))) {
                    out += Hex("\\x%02x", static_cast<unsigned char>(c));
                } else {
                    out += c;
                }
        }
    }
    return out;
}

}  // namespace orvikfile
