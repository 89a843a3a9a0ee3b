#include "OrvikFILE_Lib.h"
#include "report/report.h"

namespace {

using namespace orvik;

constexpr char kLineFeed = '\n';
constexpr char kCarriageReturn = '\r';

// What one single-byte read of the file object gave.
enum class ByteRead { byte, endOfFile, failure };

// Reads one byte to `at`. The end of the file, met by a read of no bytes or
// by an endOfFile exception, fetches its message and sets no code; any other
// exception sets code 12.
ByteRead ReadByte(CFile* file, char* at, char*& message) {
    UINT got = 0;
    ByteRead outcome = ByteRead::byte;
    message = report::GuardedWith([&] { got = file->Read(at, 1); },
                                  [&outcome](int cause) {
                                      if (cause == CFileException::endOfFile) {
                                          outcome = ByteRead::endOfFile;
                                      } else {
                                          platform::SetRetCode(report::kCodeReadFailed);
                                          outcome = ByteRead::failure;
                                      }
                                  });
    if (message == nullptr && got == 0) {
        message = platform::Message(report::kEndOfFile);
        outcome = ByteRead::endOfFile;
    }
    return outcome;
}

// Reads bytes up to the line's LF, or `max` bytes, or the end of the file.
// No byte beyond the line is read, so the file position stays exact.
char* ReadLine(CFile* file, char* buffer, uint32_t max, uint32_t& status) {
    buffer[0] = '\0';
    uint32_t stored = 0;
    while (stored < max) {
        char* const at = buffer + stored;
        char* message = nullptr;
        const ByteRead read = ReadByte(file, at, message);
        if (read == ByteRead::failure) {
            status = report::kStatusReadFailed;  // the buffer is not terminated
            return message;
        }
        if (read == ByteRead::endOfFile) {
            if (stored > 0) {
                break;  // a last line without LF is a line like any other
            }
            platform::SetRetCode(report::kCodeEndOfFile);
            status = report::kStatusEndOfFile;
            return message;
        }
        if (*at == kLineFeed) {
            if (stored > 0 && buffer[stored - 1] == kCarriageReturn) {
                --stored;  // the CR before the LF belongs to the line end
            }
            break;
        }
        ++stored;
    }
    buffer[stored] = '\0';
    status = report::kStatusTransferred + stored;
    return nullptr;
}

}  // namespace

// One line into `buffer` (max + 1 bytes), without its LF or CR LF. A line
// longer than max is cut and goes on in the next call.
char* FILE_ReadStr(CFile* file, char* buffer, uint32_t max, uint32_t* status) {
    uint32_t outcome = report::kStatusNoFileObject;
    char* message = nullptr;
    report::Begin();
    if (file == nullptr) {
        message = report::Fail(report::kNoFileObject, report::kCodeNoFileObject);
    } else if (buffer == nullptr) {
        message = report::Fail(report::kNullArgument, report::kCodeNullArgument);
        outcome = report::kStatusNoBuffer;
    } else {
        message = ReadLine(file, buffer, max, outcome);
    }
    if (status) {
        *status = outcome;
    }
    return message;
}
