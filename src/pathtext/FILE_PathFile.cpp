#include "OrvikFILE_Lib.h"
#include "OrvikSTR_Lib.h"
#include "pathtext/text_length.h"

namespace {

using namespace orvik;

// The path is at most two bytes longer than its parts (a separator, and a
// backslash after a final drive colon): parts longer together than this
// make a path whose length int32_t may not hold.
constexpr size_t kLongestParts = pathtext::kLongestText - 2;

// Whether dir and file together are longer than kLongestParts; neither is
// read further than that.
bool PartsTooLong(const char* dir, const char* file) {
    const size_t dirLength = dir != nullptr ? pathtext::LengthUpTo(dir, kLongestParts) : 0;
    if (dirLength > kLongestParts) {
        return true;
    }
    const size_t room = kLongestParts - dirLength;
    return file != nullptr && pathtext::LengthUpTo(file, room) > room;
}

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

// Parts too long are refused before anything is written: dest gets the
// empty text, and dir and file keep their forward slashes.
int32_t FILE_PathFile(char* dest, char* dir, char* file) {
    if (PartsTooLong(dir, file)) {
        dest[0] = '\0';
        return ORVIK_TEXT_TOO_LONG;
    }
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
