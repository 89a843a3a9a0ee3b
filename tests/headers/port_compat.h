// A port's own compatibility header, as many define the framework's names:
// DWORD and LONG as long (8 bytes here), a void* HWND, MAX_PATH of its own.
// It leaves BOOL and BYTE to <X11/Xmd.h>, which makes BOOL an unsigned char.
#ifndef PORT_COMPAT_H
#define PORT_COMPAT_H
typedef unsigned long DWORD;
typedef long LONG;
typedef unsigned int UINT;
typedef char* LPSTR;
typedef const char* LPCSTR;
typedef void* HWND;
typedef long LPARAM;
typedef long HRESULT;
typedef unsigned long ULONG;
#define TRUE (1)
#define FALSE (0)
#define MAX_PATH 4096
#endif
