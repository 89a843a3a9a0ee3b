// FILE_ReadStr over arbitrary bytes until the end of the file, from a host's
// file object that gives them in pieces of the fuzzer's sizes, or from the
// platform CFile on a real file whose reads give such pieces; with or
// without a look at the file position after each line. Every line must be
// what a byte-by-byte reading of the content gives, its status must agree
// with its message and length, nothing past the line may be consumed, and
// nothing may be written past the buffer of max + 1 bytes.

#include "OrvikFILE_Codes.h"
#include "OrvikFILE_Lib.h"
#include "OrvikGEN_Lib.h"
#include "OrvikMSG_Lib.h"
#include "fuzz_file.h"

using orvik::fuzz::Buffer;
using orvik::fuzz::Require;

namespace {

struct Line {
    std::string text;
    bool end;  // the end of the file, before any byte
};

// The next line from `position` on, read a byte at a time.
Line Expected(const std::string& content, size_t& position, uint32_t max) {
    std::string text;
    while (text.size() < max) {
        if (position == content.size()) {
            return {text, text.empty()};
        }
        const char byte = content[position++];
        if (byte == '\n') {
            if (!text.empty() && text.back() == '\r') {
                text.pop_back();
            }
            break;
        }
        text += byte;
    }
    return {text, false};
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const orvik::fuzz::FileInput input(data, size);
    const bool looks = (input.flags & 2) != 0;
    const uint32_t max = input.limit;
    orvik::fuzz::FileUnderTest underTest(input);
    CFile* const file = underTest.file();
    size_t position = 0;
    const size_t calls = max == 0 ? 2 : input.content.size() + 2;
    for (size_t call = 0; call < calls; ++call) {
        Buffer line("", max + 1);
        uint32_t status = 0;
        const char* message = FILE_ReadStr(file, line.data(), max, &status);
        const Line expected = Expected(input.content, position, max);
        if (expected.end) {
            Require(message == MSG_GetStr(ORVIK_MSG_END_OF_FILE) &&
                        GEN_GetRetCode() == ORVIK_RC_END_OF_FILE &&
                        status == ORVIK_STATUS_END_OF_FILE && line.data()[0] == '\0',
                    "the end of the file: message, code and status agree");
            break;
        }
        Require(message == nullptr && GEN_GetRetCode() == ORVIK_RC_OK,
                "a line is a success with code 0");
        const uint32_t length = status - ORVIK_STATUS_TRANSFERRED;
        Require(status >= ORVIK_STATUS_TRANSFERRED && length <= max,
                "the status is 100 plus a length within the limit");
        Require(line.data()[length] == '\0', "the line is terminated at its length");
        Require(std::string(line.data(), length) == expected.text, "the line as read byte by byte");
        // Without a look, a real file keeps what it read ahead untouched.
        const size_t consumed = underTest.IsReal() && !looks ? position : underTest.Consumed();
        Require(consumed == position, "nothing past the line is consumed");
    }
    return 0;
}
