// Opens a help file at a context ID the way an application's F1 help does: HtmlHelpW with
// HH_HELP_CONTEXT, which the import library forwards to the system's help control.
// Cross-compiled with mingw-w64 and run under Wine by scripts/test-windows-wine.sh, which
// reads the page the control resolved from its trace. Exit status 0 when a help window
// opened, 1 when the ID opened none.

#include <windows.h>

#include <htmlhelp.h>

#include <cstdio>
#include <cwchar>

int wmain(int argc, wchar_t** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: context_help.exe help.chm id\n");
        return 2;
    }
    const DWORD_PTR id = std::wcstoul(argv[2], nullptr, 0);
    const HWND window = HtmlHelpW(nullptr, argv[1], HH_HELP_CONTEXT, id);
    HtmlHelpW(nullptr, nullptr, HH_CLOSE_ALL, 0);
    return window != nullptr ? 0 : 1;
}
