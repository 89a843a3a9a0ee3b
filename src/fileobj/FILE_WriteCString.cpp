#include "OrvikFILE_Lib.h"
#include "fileobj/counted_record.h"
#include "report/report.h"

namespace {

int32_t RecordLength(int32_t textLength) {
    if (textLength == 0) {
        return 0;
    }
    return textLength <= orvik::record::kLongestText ? textLength + 1 : orvik::record::kLargestBody;
}

}  // namespace

// Sets no return code itself: the FILE_Write calls report. The field and the
// body are two writes, so a failed body write leaves the field in the file.
char* FILE_WriteCString(CFile* file, const char* text) {
    using namespace orvik;
    if (file == nullptr || !report::IsOpen(file)) {
        return platform::Message(report::kNoFileObject);
    }
    const int32_t length = RecordLength(platform::TextLength(text));
    unsigned char field[record::kFieldBytes];
    record::EncodeLength(length, field);
    if (char* message = FILE_Write(file, field, record::kFieldBytes)) {
        return message;
    }
    if (length == 0) {
        return nullptr;
    }
    return FILE_Write(file, text, static_cast<uint32_t>(length));
}
