// What the tests of afx_tests share: the memory budget that its operator new
// (fault_sweep_test.cpp) keeps, names resolved as on a kernel without
// openat2, and changes of case.
#ifndef ORVIK_TESTS_AFX_AFX_TEST_H
#define ORVIK_TESTS_AFX_AFX_TEST_H

#include <cctype>
#include <string>

#include "afx/system_calls.h"

namespace orvik::test {

// The allocations that may still succeed; -1: no budget.
extern long g_allocationsLeft;

// In the table of system calls: names on a drive resolved by the library's
// own component walk alone.
inline long NoOpenat2(int, const char*, const open_how*, size_t) {
    errno = ENOSYS;
    return -1;
}

// Each byte through `change` (::toupper, ::tolower).
inline std::string Cased(std::string text, int (*change)(int)) {
    for (char& c : text) {
        c = static_cast<char>(change(static_cast<unsigned char>(c)));
    }
    return text;
}
inline std::string Upper(const std::string& text) {
    return Cased(text, ::toupper);
}
inline std::string Folded(const std::string& text) {
    return Cased(text, ::tolower);
}

}  // namespace orvik::test

#endif  // ORVIK_TESTS_AFX_AFX_TEST_H
