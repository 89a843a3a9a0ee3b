// An X11 host with its own compatibility header, and the C++ layer included
// before or after them (ORVIK_TEST_CPP_LAYER_FIRST): it compiles, and the
// host's names stay its own.
#ifdef ORVIK_TEST_CPP_LAYER_FIRST
#include "OrvikFILE.hpp"
#endif
#include <X11/Xlib.h>
#include <X11/Xmd.h>

#include "OrvikFILE.hpp"
#include "port_compat.h"

static_assert(sizeof(BOOL) == 1 && sizeof(DWORD) == sizeof(long) && MAX_PATH == 4096);
static_assert(orvik::OpenMode::read != orvik::OpenMode::readWrite);
