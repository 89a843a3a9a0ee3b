// FILE_ReadStr over any bytes until the end of the file (fuzz.h: a host's
// object or the platform CFile, reading in pieces), each line into a buffer
// of exactly max + 1 bytes: a call gives a terminated line of at most max
// bytes and no LF, with status 100 + its length and code 0, or the end of the
// file with its message, code 11 and status 2; with max > 0 every call reads
// at least a byte, so the end comes within one call per byte.
#include <cstring>

#include "fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    PieceFile input(data, size);
    const uint32_t max = input.limit;
    for (size_t call = 0; call <= input.size(); ++call) {
        auto line = ExactBuffer(max + 1);
        uint32_t status = 0;
        const char* message = FILE_ReadStr(input.file(), line.data(), max, &status);
        if (message != nullptr) {
            Require(message == MSG_GetStr(ORVIK_MSG_END_OF_FILE) &&
                        GEN_GetRetCode() == ORVIK_RC_END_OF_FILE &&
                        status == ORVIK_STATUS_END_OF_FILE && line[0] == '\0',
                    "the end of the file: message, code and status agree");
            return 0;
        }
        const uint32_t length = status - ORVIK_STATUS_TRANSFERRED;
        Require(GEN_GetRetCode() == ORVIK_RC_OK && status >= ORVIK_STATUS_TRANSFERRED &&
                    length <= max && line[length] == '\0' &&
                    std::memchr(line.data(), '\n', length) == nullptr,
                "a line: code 0, status 100 plus the length of the terminated line, no LF");
    }
    Require(max == 0, "the end of the file comes within one call per byte");
    return 0;
}
