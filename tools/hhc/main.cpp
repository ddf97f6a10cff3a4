// hhc: compiles an HTML Help project into a help file.
#include "hhc/ConsoleListener.h"
#include "hhc/ConsoleText.h"
#include "hhc/HhcCommand.h"
#include "hhc/HhcOptions.h"
#include "host/HhcExitStatus.h"

#ifdef FOLVANE_HHC_WINDOW
#include "hhc/WindowedCompile.h"
#endif

using namespace folvane::hhc;

int main(int argc, char* argv[]) {
    prepareConsole();
#ifdef FOLVANE_HHC_WINDOW
    constexpr bool windowOption = true;
#else
    constexpr bool windowOption = false;
#endif
    const HhcOptions options = HhcOptions::parse(commandArguments(argc, argv));
    if (options.action == HhcOptions::Action::Help) {
        writeText(stdout, usageText(windowOption));
        return kSucceeded;
    }
    if (options.action == HhcOptions::Action::UsageError) {
        writeText(stderr, options.error + "\n" + usageText(windowOption));
        holdOwnConsole();
        return kUsage;
    }
#ifdef FOLVANE_HHC_WINDOW
    // Only when asked: a build that pipes the output must never wait for a window.
    if (options.window && canShowWindow())
        return runWindowed(argc, argv, options);
#endif
    catchInterrupts();
    ConsoleListener listener(stdout, isTerminal(stdout));
    const int status = runHhc(options.projectFile, listener, options.compile);
    holdOwnConsole();
    return status;
}
