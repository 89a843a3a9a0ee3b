// FILE_ReadCString over any bytes until the end of the file (fuzz.h: a host's
// object or the platform CFile, reading in pieces): every record comes back
// as the layout says (cut to 512 bytes, up to its first zero), a record cut
// short by the end of the file as the end with the bytes that came, and
// nothing past a record's 4 + min(L, 513) bytes is consumed.
#include <cstring>

#include "OrvikFILE_Lib.h"
#include "OrvikGEN_Lib.h"
#include "OrvikMSG_Lib.h"
#include "fuzz.h"

using orvik::fuzz::Require;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    orvik::fuzz::PieceFile input(data, size);
    const std::string& content = input.content;
    size_t position = 0;
    for (bool end = false; !end;) {
        char* text = nullptr;
        const char* message = FILE_ReadCString(input.file(), &text);
        int32_t length = 0;
        end = content.size() - position < ORVIK_RECORD_LENGTH_BYTES;
        if (!end) {
            std::memcpy(&length, content.data() + position, sizeof length);  // little-endian
            position += sizeof length;
        }
        const size_t body =
            std::min<size_t>(static_cast<size_t>(std::max(length, 0)), ORVIK_RECORD_MAX_TEXT + 1);
        const size_t came = std::min(body, content.size() - position);
        end = end || came < body;
        const std::string expected = content.substr(position, end || body == 0 ? came : body - 1);
        position = end ? content.size() : position + body;
        Require(text != nullptr && std::string(text) == expected.substr(0, expected.find('\0')),
                "the text as the layout gives it");
        Require(input.Consumed() == position, "nothing past the record is consumed");
        Require(end ? message == MSG_GetStr(ORVIK_MSG_END_OF_FILE) &&
                          GEN_GetRetCode() == ORVIK_RC_END_OF_FILE
                    : message == nullptr && GEN_GetRetCode() == ORVIK_RC_OK,
                "a record is a success; the end, or a record cut by it, the end-of-file failure");
    }
    return 0;
}
