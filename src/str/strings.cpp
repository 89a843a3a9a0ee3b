// String helpers on zero-terminated single-byte texts.
#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <cstring>
#include <string>

#include "OrvikSTR_Lib.h"

namespace {

bool IsBlankByte(unsigned char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// Storage for STR_Format without a destination; per thread, grown as needed.
thread_local std::string t_formatted;

enum PadMode { kNoPad = 0, kPadRight = 1, kPadLeft = 2 };

// 0 until the code page is chosen, by STR_SetCodePage or, at first use, by
// the environment.
std::atomic<uint32_t> g_codePage{0};

bool IsKnownCodePage(uint32_t codePage) {
    return codePage == STR_CODEPAGE_UTF8 || codePage == STR_CODEPAGE_WINDOWS_1252;
}

uint32_t CodePageOfEnvironment() {
    const char* setting = std::getenv("ORVIK_CODEPAGE");
    if (setting != nullptr && std::strcmp(setting, "1252") == 0) {
        return STR_CODEPAGE_WINDOWS_1252;
    }
    return STR_CODEPAGE_UTF8;
}

uint32_t Windows1252Upper(uint32_t c) {
    if ((c >= 'a' && c <= 'z') || (c >= 0xE0u && c <= 0xFEu && c != 0xF7u)) {
        return c - 0x20u;
    }
    switch (c) {
        case 0x9Au:  // s caron
        case 0x9Cu:  // oe ligature
        case 0x9Eu:  // z caron
            return c - 0x10u;
        case 0xFFu:  // y diaeresis
            return 0x9Fu;
        default:
            return c;
    }
}

// The length of `text`, or `limit` when it is longer: no byte past the
// first `limit` is read, so that a piece of a long text costs what the
// piece costs.
size_t LengthWithin(const char* text, size_t limit) {
    const void* zero = std::memchr(text, '\0', limit);
    return zero ? static_cast<size_t>(static_cast<const char*>(zero) - text) : limit;
}

}  // namespace

extern "C" {

char* STR_Format(char* dest, const char* src, int32_t one, int32_t mode, int32_t count) {
    const char* text = src ? src : "";
    const size_t wanted = static_cast<size_t>(std::max(count, 0));
    const size_t from = static_cast<size_t>(std::max(one, 1) - 1);
    const size_t length = LengthWithin(text, from + wanted);
    const size_t start = std::min(length, from);
    const size_t taken = std::min(wanted, length - start);
    const size_t padding = (mode == kPadRight || mode == kPadLeft) ? wanted - taken : 0;

    char* out = dest;
    if (out == nullptr) {
        t_formatted.resize(taken + padding);
        out = t_formatted.data();
    }
    std::memset(out, ' ', padding + taken);
    std::memcpy(out + (mode == kPadLeft ? padding : 0), text + start, taken);
    out[taken + padding] = '\0';
    return out;
}

uint32_t STR_GetCodePage(void) {
    uint32_t codePage = g_codePage.load(std::memory_order_acquire);
    if (codePage == 0) {
        uint32_t unset = 0;
        codePage = CodePageOfEnvironment();
        if (!g_codePage.compare_exchange_strong(unset, codePage, std::memory_order_acq_rel)) {
            codePage = unset;  // another thread chose first
        }
    }
    return codePage;
}

int32_t STR_SetCodePage(uint32_t codePage) {
    if (!IsKnownCodePage(codePage)) {
        return 0;
    }
    g_codePage.store(codePage, std::memory_order_release);
    return 1;
}

uint32_t STR_ANSI2Upper4Char(uint32_t ch) {
    const uint32_t c = ch & 0xFFu;
    if (STR_GetCodePage() == STR_CODEPAGE_WINDOWS_1252) {
        return Windows1252Upper(c);
    }
    return c >= 'a' && c <= 'z' ? c - 0x20u : c;
}

char* STR_lstrrchr(const char* text, uint32_t ch) {
    const char wanted = static_cast<char>(ch & 0xFFu);
    if (text == nullptr || wanted == '\0') {
        return nullptr;
    }
    return const_cast<char*>(std::strrchr(text, wanted));  // NOLINT: C string convention
}

// Both ends are found before anything moves, so that a text whose length
// the result cannot give is left as it was.
int32_t STR_StripBlanks(char* text) {
    if (text == nullptr) {
        return 0;
    }
    size_t end = std::strlen(text);
    while (end > 0 && IsBlankByte(static_cast<unsigned char>(text[end - 1]))) {
        --end;
    }
    size_t begin = 0;
    while (begin < end && IsBlankByte(static_cast<unsigned char>(text[begin]))) {
        ++begin;
    }
    const size_t length = end - begin;
    if (length > static_cast<size_t>(INT32_MAX)) {
        return STR_TEXT_TOO_LONG;
    }
    if (begin > 0) {
        std::memmove(text, text + begin, length);
    }
    text[length] = '\0';
    return static_cast<int32_t>(length);
}

int32_t STR_IsBlank(const char* text) {
    if (text == nullptr) {
        return 1;
    }
    for (const char* p = text; *p != '\0'; ++p) {
        if (!IsBlankByte(static_cast<unsigned char>(*p))) {
            return 0;
        }
    }
    return 1;
}

}  // extern "C"
