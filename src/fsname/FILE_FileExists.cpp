#include "OrvikFILE_Lib.h"
#include "platform/platform.h"

// The name goes to the status query unchanged: a null or blank name is
// simply a name that no entry has.
int32_t FILE_FileExists(const char* name) { return orvik::platform::QueryStatus(name); }
