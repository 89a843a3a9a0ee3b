// Texts of gigabytes that cost a few pages of memory, for the limits of 32-bit
// lengths: one piece of fill bytes is kept once, in a memory file, and mapped
// again and again over a reserved range of addresses; only the last page or
// two, which hold the tail and the terminating zero, are memory of their own.
// Reading such a text costs no memory. Writing into it is allowed, but a byte
// written into the repeated part shows at every repetition: write only fill
// bytes there.
#ifndef ORVIK_TESTS_LONG_TEXT_H
#define ORVIK_TESTS_LONG_TEXT_H

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace orvik::test {

constexpr size_t kOver2GiB = size_t{INT32_MAX} + 1;   // one byte too long for int32_t
constexpr size_t kOver4GiB = size_t{UINT32_MAX} + 1;  // one byte too long for uint32_t

class LongText {
public:
    // `length` bytes: fill bytes, then `tail` (no longer than the text), then
    // a zero.
    explicit LongText(size_t length, std::string_view tail = {}, char fill = 'a');
    ~LongText();
    LongText(const LongText&) = delete;
    LongText& operator=(const LongText&) = delete;

    char* data() const { return m_text; }
    // The last `count` bytes, where the tail lies.
    std::string End(size_t count) const { return std::string(m_text + m_length - count, count); }

private:
    char* m_text = nullptr;
    size_t m_length = 0;
    size_t m_mapped = 0;
};

}  // namespace orvik::test

#endif  // ORVIK_TESTS_LONG_TEXT_H
