// A short tour of the library: what a host sees of each call.
#include <cstdio>
#include <string>

#include "OrvikFILE_Lib.h"
#include "OrvikGEN_Lib.h"

namespace {

void Show(const char* call, const char* message) {
    std::printf("%-34s -> %s (return code %d)\n", call, message ? message : "success",
                GEN_GetRetCode());
}

void Show(const char* call, int32_t result) { std::printf("%-34s -> %d\n", call, result); }

}  // namespace

int main(int argc, char** argv) {
    const std::string work = argc > 1 ? argv[1] : "orvik-tour";
    const std::string file = work + "/note.txt";

    Show("FILE_MkDir(work)", FILE_MkDir(work.c_str()));
    Show("FILE_MkDir(work) again", FILE_MkDir(work.c_str()));
    Show("FILE_DirExists(work)", FILE_DirExists(work.c_str()));
    Show("FILE_FileExists(note.txt)", FILE_FileExists(file.c_str()));
    Show("FILE_Remove4Name(note.txt)", FILE_Remove4Name(file.c_str()));
    if (FILE_Move2Dir(work.c_str()) == 0) {
        std::FILE* note = std::fopen("note.txt", "w");
        if (note) {
            std::fputs("hello\n", note);
            std::fclose(note);
        }
        Show("FILE_FileExists(note.txt) inside", FILE_FileExists("note.txt"));
        Show("FILE_Remove4Name(note.txt)", FILE_Remove4Name("note.txt"));
    }
    CFileException diskFull(CFileException::diskFull);
    Show("FILE_ExceptionMsg(diskFull)", FILE_ExceptionMsg(&diskFull));
    return 0;
}
