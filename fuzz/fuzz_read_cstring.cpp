// FILE_ReadCString over any bytes until the end of the file (fuzz.h: a host's
// object or the platform CFile, reading in pieces): a call gives a text of at
// most 512 bytes with no message and code 0, or the end-of-file message with
// code 11; every record takes at least its 4-byte length field, so the end
// comes within one call per 4 bytes.
#include <cstring>

#include "fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    PieceFile input(data, size);
    for (size_t call = 0; call <= input.size() / ORVIK_RECORD_LENGTH_BYTES; ++call) {
        char* text = nullptr;
        const char* message = FILE_ReadCString(input.file(), &text);
        Require(text != nullptr && std::strlen(text) <= ORVIK_RECORD_MAX_TEXT,
                "a text of at most 512 bytes");
        if (message != nullptr) {
            Require(message == MSG_GetStr(ORVIK_MSG_END_OF_FILE) &&
                        GEN_GetRetCode() == ORVIK_RC_END_OF_FILE,
                    "the end of the file, or a record cut by it: the end-of-file failure");
            return 0;
        }
        Require(GEN_GetRetCode() == ORVIK_RC_OK, "a record is a success");
    }
    Require(false, "the end of the file comes within one call per 4 bytes");
    return 0;
}
