// hhc: compiles an HTML Help project into a help file.
#include "hhc/CompileOptions.h"
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
    folvane::chm::Compiler::Options options;
    const auto wrongOption = takeCompileOptions(arguments, options);
    if (wrongOption || arguments.size() != 1) {
        writeText(stderr, (wrongOption ? "hhc：" + *wrongOption + "\n" : std::string()) + "用法：hhc " +
                              kCompileOptionsUsage + " 项目文件.hhp\n");
        holdOwnConsole();
        return kUsage;
    }
#ifdef FOLVANE_HHC_WINDOW
    if (wantsWindow())
        return runWindowed(argc, argv, arguments.front(), options);
#endif
    catchInterrupts();
    ConsoleListener listener(stdout, isTerminal(stdout));
    const int status = runHhc(arguments.front(), listener, options);
    holdOwnConsole();
    return status;
}
