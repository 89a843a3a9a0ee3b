// How record texts, which are arbitrary bytes, are shown on one output line.
#ifndef ORVIKFILE_ESCAPE_H
#define ORVIKFILE_ESCAPE_H

#include <string>
#include <string_view>

namespace orvikfile {

// A JSON string body (without the quotes). Control bytes and DEL become
// \u00XX, the quote and the backslash \" and \\. Bytes 0x80 to 0xFF become
// \u0080 to \u00FF: each byte is taken as the Latin-1 character of its
// value, so that encoding the decoded text as Latin-1 gives the exact bytes
// back (Windows-1252 text in 0x80 to 0x9F shows as C1 controls). With
// `utf8`, a valid UTF-8 sequence is written as it is instead, and a byte
// outside one as \ufffd, the replacement character.
std::string EscapeJson(std::string_view bytes, bool utf8 = false);

// For the plain listing: tab, LF, CR and the backslash as \t \n \r \\,
// the other control bytes and DEL as \xHH; every other byte as it is, or
// with `utf8`, a byte outside a valid UTF-8 sequence as \xHH too.
std::string EscapePlain(std::string_view bytes, bool utf8 = false);

}  // namespace orvikfile

#endif  // ORVIKFILE_ESCAPE_H
