// The C interface under ORVIK_HOST_TYPES beside X11 and a port's own names:
// a file written and its length read through FILE_ functions, and an
// override of a virtual operation, all in the standard types.
#define ORVIK_HOST_TYPES
#include <X11/Xlib.h>
#include <X11/Xmd.h>

#include <string>

#include "OrvikFILE.hpp"
#include "OrvikFILE_Lib.h"
#include "port_compat.h"

struct CountingFile : CFile {
    int32_t Open(const char* name, uint32_t flags, CFileException* error) override {
        ++m_opens;
        return CFile::Open(name, flags, error);
    }
    int m_opens = 0;
};

int main(int argc, char** argv) {
    CountingFile file;
    uint32_t length = 0;  // a DWORD of the port's own would not do here
    FILE_Open(&file, (std::string(argc > 1 ? argv[1] : ".") + "/host_types.txt").c_str(),
              ORVIK_OPEN_READ_WRITE, ORVIK_OPEN_EMPTY);
    FILE_WriteStr(&file, "twelve bytes");
    FILE_GetLength(&file, &length);
    FILE_Remove4Object(&file);
    return DWORD{length} == 12 && file.m_opens == 1 && MAX_PATH == 4096 ? 0 : 1;
}
