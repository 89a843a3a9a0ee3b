// The return code, one per thread, so that concurrent callers of the Orvik
// libraries each read back the outcome of their own last call.
#include "OrvikGEN_Lib.h"

namespace {
thread_local int32_t t_returnCode = 0;
}  // namespace

extern "C" {

void GEN_SetRetCode(int32_t code) {
    t_returnCode = code;
}

int32_t GEN_GetRetCode(void) {
    return t_returnCode;
}

}  // extern "C"
