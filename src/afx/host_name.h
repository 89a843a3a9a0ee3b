// Names as text, between the host's form (C:\DATA\REPORT.TXT) and Linux
// components: how a name handed in is taken apart, and how the components
// of an entry are put together into the name handed back. No disk is asked
// here. The rules for hosts are under "Names" in include/OrvikAfx.h.
#ifndef ORVIK_AFX_HOST_NAME_H
#define ORVIK_AFX_HOST_NAME_H

#include <string>
#include <string_view>
#include <vector>

namespace orvik::afx {

// A name handed in, taken apart: where it starts, and its components as
// Linux names, with "." dropped and ".." resolved as text (never above a
// drive's directory or the root; only a name relative to the current
// directory keeps leading ".." components).
struct HostName {
    enum class Start { currentDirectory, root, drive };
    Start start = Start::currentDirectory;
    char drive = '\0';  // the drive letter in upper case, when start is drive
    std::vector<std::string> components;
    bool namesDirectory = false;  // it ended in a separator, "." or ".."
};

// `name` taken apart (null and empty give no component from the current
// directory). Inside a component the characters U+F05C and U+F03A (their
// UTF-8 bytes) stand for a backslash and a colon of the Linux name.
HostName ParseHostName(const char* name);

// Whether a component is "." or "..".
inline bool IsDot(const std::string& component) {
    return component.size() == 1 && component[0] == '.';
}
inline bool IsDotDot(const std::string& component) {
    return component.size() == 2 && component[0] == '.' && component[1] == '.';
}

// The Linux name in a component of a name handed in: U+F05C and U+F03A
// mapped back to the backslash and the colon they stand for.
std::string LinuxComponent(const std::string& component);

// `prefix` (a drive, "C:", or empty for a name from the root) followed by
// each component from `first` on and then `leaf` (when not null), each
// after a backslash, each backslash and colon of a Linux name mapped to
// U+F05C and U+F03A, which the host form cannot carry otherwise:
// C:\dir\a<U+F05C>b for /dir/a\b. A drive alone is "C:\", the root alone
// "\".
// Written into `host`, whose text it replaces: for a string in the
// caller's own room as well as for std::string.
template <typename Text>
void HostForm(std::string_view prefix, const std::vector<std::string>& components, size_t first,
              const std::string* leaf, Text& host);
std::string HostForm(std::string_view prefix, const std::vector<std::string>& components,
                     size_t first = 0);

// The components of an absolute Linux path, "." and ".." resolved as text.
std::vector<std::string> LinuxComponents(const std::string& path);

}  // namespace orvik::afx

#endif  // ORVIK_AFX_HOST_NAME_H
