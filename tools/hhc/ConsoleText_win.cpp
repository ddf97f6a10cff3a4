#include "hhc/ConsoleText.h"

// The Windows API first: the other system headers need its types.
#include "base/WindowsApi_win.h"

#include "base/CodePage.h"
#include "base/LongPath_win.h"

#include <io.h>
#include <shellapi.h>
#include <string>

namespace folvane::hhc {

namespace {
volatile LONG interruptSeen = 0;

BOOL WINAPI onInterrupt(DWORD) {
    InterlockedExchange(&interruptSeen, 1);
    return TRUE;
}
} // namespace

void catchInterrupts() {
    SetConsoleCtrlHandler(onInterrupt, TRUE);
}

bool interrupted() {
    return InterlockedCompareExchange(&interruptSeen, 0, 0) != 0;
}

void prepareConsole() {
    // Nothing: the code page stays the user's, since the console outlives this program.
}

void holdOwnConsole() {
    DWORD processes[2] = {};
    DWORD mode = 0;
    HANDLE in = GetStdHandle(STD_INPUT_HANDLE);
    if (!GetConsoleMode(GetStdHandle(STD_OUTPUT_HANDLE), &mode) || GetConsoleProcessList(processes, 2) != 1 ||
        !GetConsoleMode(in, &mode))
        return;
    writeText(stdout, "按任意键关闭窗口……");
    FlushConsoleInputBuffer(in);
    INPUT_RECORD record = {};
    DWORD read = 0;
    while (ReadConsoleInputW(in, &record, 1, &read) && read == 1)
        if (record.EventType == KEY_EVENT && record.Event.KeyEvent.bKeyDown)
            return;
}

bool isTerminal(std::FILE* stream) {
    return _isatty(_fileno(stream)) != 0;
}

void writeText(std::FILE* stream, std::string_view utf8) {
    // A console shows wide text whatever its code page; redirected output gets the console's
    // code page, as the commands beside it write, or the ANSI one when there is no console.
    HANDLE console = GetStdHandle(stream == stderr ? STD_ERROR_HANDLE : STD_OUTPUT_HANDLE);
    DWORD mode = 0;
    if (GetConsoleMode(console, &mode)) {
        const int length = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
        std::wstring wide(static_cast<std::size_t>(length), L'\0');
        MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(), length);
        DWORD written = 0;
        WriteConsoleW(console, wide.data(), static_cast<DWORD>(wide.size()), &written, nullptr);
        return;
    }
    const UINT consolePage = GetConsoleOutputCP();
    const std::string text =
        CodePage::fromUtf8(utf8, consolePage != 0 ? consolePage : GetACP(), CodePage::Unmappable::Question);
    std::fwrite(text.data(), 1, text.size(), stream);
    std::fflush(stream);
}

std::vector<std::filesystem::path> commandArguments(int, char*[]) {
    // The narrow arguments lose characters outside the ANSI code page.
    int count = 0;
    wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count);
    std::vector<std::filesystem::path> out;
    for (int i = 1; wide != nullptr && i < count; ++i)
        out.emplace_back(withoutLongPrefix(wide[i]));
    LocalFree(wide);
    return out;
}

} // namespace folvane::hhc
