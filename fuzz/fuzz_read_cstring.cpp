// FILE_ReadCString over arbitrary bytes until the end of the file, from a
// host's file object that gives them in pieces of the fuzzer's sizes, or
// from the platform CFile on a real file whose reads give such pieces.
// Every record must come back as the layout says (cut to 512 bytes, up to
// its first zero), a record cut short by the end of the file as the end of
// the file with the bytes that came, and the text never longer than the
// record buffer; nothing past a record's 4 + min(L, 513) bytes is consumed.

#include "OrvikFILE_Codes.h"
#include "OrvikFILE_Lib.h"
#include "OrvikGEN_Lib.h"
#include "OrvikMSG_Lib.h"
#include "fuzz_file.h"

using orvik::fuzz::Require;

namespace {

struct Record {
    std::string text;
    bool end;  // the end of the file, or a record cut short by it
};

Record Expected(const std::string& content, size_t& position) {
    constexpr size_t kField = ORVIK_RECORD_LENGTH_BYTES;
    if (content.size() - position < kField) {
        position = content.size();
        return {"", true};
    }
    uint32_t bits = 0;
    for (size_t i = 0; i < kField; ++i) {
        bits |= static_cast<uint32_t>(static_cast<uint8_t>(content[position + i])) << (8 * i);
    }
    position += kField;
    const auto length = static_cast<int32_t>(bits);
    if (length < 1) {
        return {"", false};
    }
    const size_t body = std::min<size_t>(static_cast<size_t>(length), ORVIK_RECORD_MAX_TEXT + 1);
    const size_t came = std::min(body, content.size() - position);
    std::string bytes = content.substr(position, came);
    position += came;
    if (came < body) {
        return {bytes.substr(0, bytes.find('\0')), true};
    }
    bytes.resize(body - 1);
    return {bytes.substr(0, bytes.find('\0')), false};
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const orvik::fuzz::FileInput input(data, size);
    orvik::fuzz::FileUnderTest underTest(input);
    CFile* const file = underTest.file();
    size_t position = 0;
    for (size_t call = 0; call <= input.content.size() / ORVIK_RECORD_LENGTH_BYTES + 1; ++call) {
        char* text = nullptr;
        const char* message = FILE_ReadCString(file, &text);
        const Record expected = Expected(input.content, position);
        Require(text != nullptr && std::strlen(text) <= ORVIK_RECORD_MAX_TEXT,
                "the text fits the record buffer");
        Require(std::string(text) == expected.text, "the text as the layout gives it");
        Require(underTest.Consumed() == position, "nothing past the record is consumed");
        if (expected.end) {
            Require(message == MSG_GetStr(ORVIK_MSG_END_OF_FILE) &&
                        GEN_GetRetCode() == ORVIK_RC_END_OF_FILE,
                    "the end of the file, or a record cut by it, is the end-of-file failure");
            break;
        }
        Require(message == nullptr && GEN_GetRetCode() == ORVIK_RC_OK, "a record is a success");
    }
    return 0;
}
