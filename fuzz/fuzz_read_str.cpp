// FILE_ReadStr over any bytes until the end of the file (fuzz.h: a host's
// object or the platform CFile, reading in pieces), with or without a look
// at the position after each line: every line is what a byte-by-byte
// reading gives, its status agrees with its message, nothing past it is
// consumed, and nothing is written past the buffer of max + 1 bytes.
#include "OrvikFILE_Lib.h"
#include "OrvikGEN_Lib.h"
#include "OrvikMSG_Lib.h"
#include "fuzz.h"

using orvik::fuzz::Require;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    orvik::fuzz::PieceFile input(data, size);
    const std::string& content = input.content;
    const uint32_t max = input.limit;
    size_t position = 0;
    for (size_t call = 0; call < (max == 0 ? 2 : content.size() + 2); ++call) {
        auto line = orvik::fuzz::Buffer("", max + 1);
        uint32_t status = 0;
        const char* message = FILE_ReadStr(input.file(), line.data(), max, &status);
        std::string expected;
        while (expected.size() < max && position < content.size() && content[position] != '\n') {
            expected += content[position++];
        }
        if (expected.size() < max && position < content.size()) {  // the LF, and a CR before it
            ++position;
            if (!expected.empty() && expected.back() == '\r') {
                expected.pop_back();
            }
        } else if (expected.empty() && position == content.size() && max > 0) {
            Require(message == MSG_GetStr(ORVIK_MSG_END_OF_FILE) &&
                        GEN_GetRetCode() == ORVIK_RC_END_OF_FILE &&
                        status == ORVIK_STATUS_END_OF_FILE && line[0] == '\0',
                    "the end of the file: message, code and status agree");
            break;
        }
        Require(message == nullptr && GEN_GetRetCode() == ORVIK_RC_OK, "a line is a success");
        const uint32_t length = status - ORVIK_STATUS_TRANSFERRED;
        Require(status >= ORVIK_STATUS_TRANSFERRED && length <= max && line[length] == '\0',
                "the status is 100 plus the length of the terminated line");
        Require(std::string(line.data(), length) == expected, "the line as read byte by byte");
        // Without a look, a real file keeps what it read ahead untouched.
        Require((input.IsReal() && (input.flags & 2) == 0) || input.Consumed() == position,
                "nothing past the line is consumed");
    }
    return 0;
}
