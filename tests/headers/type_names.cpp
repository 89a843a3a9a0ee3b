// After the C++ layer, which keeps them out, the C interface's header still
// gives the framework's type names at their exact widths.
#include <type_traits>

#include "OrvikFILE.hpp"
#include "OrvikFILE_Lib.h"

static_assert(std::is_same_v<BOOL, int32_t> && std::is_same_v<DWORD, uint32_t> &&
              std::is_same_v<LONG, int32_t> && std::is_same_v<UINT, uint32_t> &&
              std::is_same_v<BYTE, uint8_t> && std::is_same_v<LPCTSTR, const char*>);
static_assert(MAX_PATH == 260 && TRUE == 1 && FALSE == 0);
