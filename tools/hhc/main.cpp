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
    const auto arguments = commandArguments(argc, argv);
    if (arguments.size() != 1) {
        writeText(stderr, "用法：hhc 项目文件.hhp\n");
        holdOwnConsole();
        return kUsage;
    }
#ifdef FOLVANE_HHC_WINDOW
    if (wantsWindow())
        return runWindowed(argc, argv, arguments.front());
#endif
    catchInterrupts();
    ConsoleListener listener(stdout, isTerminal(stdout));
    const int status = runHhc(arguments.front(), listener);
    holdOwnConsole();
    return status;
}
