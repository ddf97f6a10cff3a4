// hhc: compiles an HTML Help project into a help file.
#include "hhc/ConsoleListener.h"
#include "hhc/ConsoleText.h"
#include "hhc/ExitStatus.h"
#include "hhc/HhcCommand.h"

#ifdef FOLVANE_HHC_WINDOW
#include "hhc/WindowedCompile.h"
#endif

using namespace folvane::hhc;

int main(int argc, char* argv[]) {
    prepareConsole();
    auto arguments = commandArguments(argc, argv);
#ifdef FOLVANE_HHC_WINDOW
    // "--window" or "--window=X,Y,WIDTH,HEIGHT" first: the output in a window, centred over
    // that rectangle of the screen (the program that started the compile).
    std::optional<WindowRequest> window;
    if (!arguments.empty()) {
        window = windowRequest(arguments.front().native());
        if (window)
            arguments.erase(arguments.begin());
    }
#endif
    if (arguments.size() != 1) {
        writeText(stderr, "用法：hhc 项目文件.hhp\n");
        holdOwnConsole();
        return kUsage;
    }
#ifdef FOLVANE_HHC_WINDOW
    if (wantsWindow(window.has_value()))
        return runWindowed(argc, argv, arguments.front(), window ? window->over : std::nullopt);
#endif
    catchInterrupts();
    ConsoleListener listener(stdout, isTerminal(stdout));
    const int status = runHhc(arguments.front(), listener);
    holdOwnConsole();
    return status;
}
