// The two spellings by which a name that does not match the disk exactly is
// looked for, in the code page of names (STR_GetCodePage).
#ifndef ORVIK_AFX_NAME_FOLD_H
#define ORVIK_AFX_NAME_FOLD_H

#include <string>

namespace orvik::afx {

// The key under which names match without regard to case: two names match
// when their keys are equal. In UTF-8 the Unicode case folding of every
// valid character (ß and SS, Σ, σ and ς all match) and every byte that is
// not part of valid UTF-8 as itself, with ASCII letters folded; in
// Windows-1252 every byte upper-cased by STR_ANSI2Upper4Char. The host
// form's stand-ins for a backslash and a colon (U+F05C, U+F03A) match the
// characters they stand for.
std::string FoldedName(const std::string& name);

// The likeliest spelling on disk of a name that a host upper-cased: in
// UTF-8 the Unicode lower case of every valid character (bytes that are
// not valid UTF-8 stay, ASCII letters lowered); in Windows-1252 the ASCII
// letters lowered.
std::string LowerName(const std::string& name);

}  // namespace orvik::afx

#endif  // ORVIK_AFX_NAME_FOLD_H
