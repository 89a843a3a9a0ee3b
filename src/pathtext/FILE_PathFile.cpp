#include "OrvikFILE_Lib.h"
#include "OrvikSTR_Lib.h"

namespace {

// The path being written into the caller's buffer, which holds
// strlen(dir) + strlen(file) + 3 bytes; nothing here writes more.
class PathWriter {
public:
    explicit PathWriter(char* dest) : m_dest(dest) {}

    // A character taken from the caller's names goes through the string
    // service's upper-casing, one character in the low byte.
    void Copy(char ch) {
        const uint32_t upper = STR_ANSI2Upper4Char(static_cast<unsigned char>(ch));
        Put(static_cast<char>(upper & 0xFFu));
    }
    void AddBackslash() { Put('\\'); }

    int32_t Length() const { return m_length; }
    bool EndsInBackslash() const { return m_backslash; }

    // A final backslash stays only behind a drive colon (C:\).
    void DropFinalBackslash() {
        if (!m_backslash) {
            return;
        }
        if (m_length >= 2 && m_dest[m_length - 2] == ':') {
            return;
        }
        --m_length;
    }

    // A drive alone becomes its root: C: gives C:\.
    int32_t Finish() {
        m_dest[m_length] = '\0';
        if (m_length > 0 && m_dest[m_length - 1] == ':') {
            m_dest[m_length++] = '\\';
            m_dest[m_length] = '\0';
        }
        return m_length;
    }

private:
    void Put(char ch) {
        m_dest[m_length++] = ch;
        m_backslash = ch == '\\';
    }

    char* m_dest;
    int32_t m_length = 0;
    bool m_backslash = false;
};

// Forward slashes are rewritten in the caller's own text, as the path is.
char TakeSeparator(char* at) {
    if (*at == '/') {
        *at = '\\';
    }
    return *at;
}

// Runs of backslashes collapse to one; a path that starts with two keeps
// both, so that a network name (\\server\share) survives.
void CopyDirectory(PathWriter& path, char* dir) {
    for (char* at = dir; *at != '\0'; ++at) {
        const char ch = TakeSeparator(at);
        if (ch == '\\' && path.EndsInBackslash() && path.Length() != 1) {
            continue;
        }
        path.Copy(ch);
    }
}

// One past the last character that is not a blank; blanks from there on
// are trailing blanks and are dropped.
char* EndOfText(char* text) {
    char* end = text;
    for (char* at = text; *at != '\0'; ++at) {
        if (*at != ' ') {
            end = at + 1;
        }
    }
    return end;
}

// The file name loses its leading and trailing blanks (tabs are no blanks
// here); a doubled backslash collapses even at the start of the path.
void CopyFileName(PathWriter& path, char* file) {
    char* start = file;
    while (*start == ' ') {
        ++start;
    }
    char* const end = EndOfText(start);
    for (char* at = start; at != end; ++at) {
        const char ch = TakeSeparator(at);
        if (ch == '\\' && path.EndsInBackslash()) {
            continue;
        }
        path.Copy(ch);
    }
}

}  // namespace

int32_t FILE_PathFile(char* dest, char* dir, char* file) {
    PathWriter path(dest);
    if (dir != nullptr) {
        CopyDirectory(path, dir);
    }
    if (path.Length() > 0 && !path.EndsInBackslash()) {
        path.AddBackslash();
    }
    if (file != nullptr) {
        CopyFileName(path, file);
    }
    path.DropFinalBackslash();
    return path.Finish();
}
