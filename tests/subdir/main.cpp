// Joins a path and reads back a return code: the file library, the string
// service and the return-code service all came with OrvikFILE::OrvikFILE_Lib.
// Then prints whether the folder browser module is found from this tree.
#include <cstdio>
#include <cstring>

#include "OrvikFILE_Lib.h"
#include "OrvikGEN_Lib.h"

int main() {
    char dir[] = "c:\\work";
    char file[] = "a.txt";
    char path[sizeof dir + sizeof file + 3];
    FILE_PathFile(path, dir, file);
    const char* message = FILE_Close(nullptr);
    const bool ok = std::strcmp(path, "C:\\WORK\\A.TXT") == 0 && message != nullptr &&
                    GEN_GetRetCode() == ORVIK_RC_NO_FILE_OBJECT;
    std::printf("%s: %s\n", path, ok ? "subdir host: ok" : "subdir host: wrong");
    char why[512] = "";
    const int browser = AfxFolderBrowserStatus(why, sizeof why);
    std::printf("browser: %d %s\n", browser, why);
    return ok ? 0 : 1;
}
