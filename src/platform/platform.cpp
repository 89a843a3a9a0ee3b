#include "platform.h"

#include <cerrno>
#include <cstring>

#include "OrvikGEN_Lib.h"
#include "OrvikMSG_Lib.h"
#include "OrvikSTR_Lib.h"

namespace orvik::platform {

void SetRetCode(int32_t code) {
    GEN_SetRetCode(code);
}

char* Message(int32_t number) {
    return MSG_GetStr(number);
}
char* TextBuffer() {
    return MSG_GetStr4Text();
}
uint32_t TextCapacity() {
    return MSG_MaxChars4Text();
}
char* PathBuffer() {
    return MSG_GetStr4Path();
}
int32_t PathCapacity() {
    return MSG_MaxChars4Path();
}

char* Format(char* dest, const char* src, int32_t one, int32_t mode, int32_t count) {
    return STR_Format(dest, src, one, mode, count);
}
uint32_t UpperChar(uint32_t ch) {
    return STR_ANSI2Upper4Char(ch);
}
char* LastOccurrence(const char* text, uint32_t ch) {
    return STR_lstrrchr(text, ch);
}
int32_t StripBlanks(char* text) {
    return STR_StripBlanks(text);
}
bool IsBlank(const char* text) {
    return STR_IsBlank(text) != 0;
}

int32_t TextLength(const char* text) {
    return text ? static_cast<int32_t>(std::strlen(text)) : 0;
}

char* CopyText(char* dest, const char* src) {
    return std::strcpy(dest, src ? src : "");  // NOLINT: the caller sized dest for src
}

BOOL QueryStatus(const char* name) {
    CFileStatus status{};
    return CFile::GetStatus(name, status);
}

void RemoveFile(const char* name) {
    CFile::Remove(name);
}

uint32_t ExecutableName(char* buffer, uint32_t size) {
    return AfxGetModuleFileName(buffer, size);
}

DirRefusal MakeDirectory(const char* name) {
    if (AfxMkDir(name) == 0) {
        return DirRefusal::none;
    }
    switch (errno) {
        case EACCES:
            return DirRefusal::accessDenied;
        case EEXIST:
            return DirRefusal::alreadyExists;
        case ENOENT:
            return DirRefusal::pathNotFound;
        default:
            return DirRefusal::other;
    }
}

bool ChangeDirectory(const char* name) {
    return AfxChDir(name) == 0;
}

}  // namespace orvik::platform
