// A small host: stores two texts as counted string records in a file of the
// directory it is given, reads them back, and reports each call as the
// library does, by a message text and a return code.
#include <cstdio>
#include <string>

#include "OrvikFILE_Codes.h"
#include "OrvikFILE_Lib.h"
#include "OrvikGEN_Lib.h"

namespace {

bool Succeeded(const char* call, const char* message) {
    if (message) {
        std::fprintf(stderr, "%s: %s (return code %d)\n", call, message, GEN_GetRetCode());
    }
    return message == nullptr;
}

bool WriteRecords(const std::string& name) {
    CFile file;
    return Succeeded("FILE_Open",
                     FILE_Open(&file, name.c_str(), ORVIK_OPEN_READ_WRITE, ORVIK_OPEN_EMPTY)) &&
           Succeeded("FILE_WriteCString", FILE_WriteCString(&file, "first")) &&
           Succeeded("FILE_WriteCString", FILE_WriteCString(&file, "second")) &&
           Succeeded("FILE_Close", FILE_Close(&file));
}

bool ReadRecords(const std::string& name) {
    CFile file;
    if (!Succeeded("FILE_Open", FILE_Open(&file, name.c_str(), ORVIK_OPEN_READ, ORVIK_OPEN_KEEP))) {
        return false;
    }
    char* text = nullptr;
    int count = 0;
    while (FILE_ReadCString(&file, &text) == nullptr) {
        std::printf("record %d: %s\n", count++, text);
    }
    const bool cleanEnd = GEN_GetRetCode() == ORVIK_RC_END_OF_FILE;
    return Succeeded("FILE_Close", FILE_Close(&file)) && cleanEnd && count == 2;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string name = std::string(argc > 1 ? argv[1] : ".") + "/host.rec";
    if (!WriteRecords(name) || !ReadRecords(name)) {
        return 1;
    }
    std::printf("host: ok\n");
    return FILE_Remove4Name(name.c_str()) == nullptr ? 0 : 1;
}
