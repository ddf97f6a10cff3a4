#include "hhc/WindowedCompile.h"

#include "hhc/ConsoleText.h"
#include "hhc/ExitStatus.h"
#include "hhc/HhcWindow.h"
#include "hhc/WindowListener.h"

#include <QApplication>
#include <QFont>
#include <QTimer>

#include <cstdlib>
#include <string_view>
#include <thread>

namespace folvane::hhc {

namespace {
constexpr int kInterruptPollMs = 100;

bool isSet(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr && *value != '\0';
}
} // namespace

bool wantsWindow() {
    const char* noWindow = std::getenv("FOLVANE_HHC_NO_WINDOW");
    if (isTerminal(stdout) || (noWindow != nullptr && std::string_view(noWindow) == "1"))
        return false;
    return isSet("DISPLAY") || isSet("WAYLAND_DISPLAY") || isSet("QT_QPA_PLATFORM");
}

int runWindowed(int argc, char* argv[], const std::filesystem::path& projectFile,
                const chm::Compiler::Options& options) {
    QApplication app(argc, argv);
    QApplication::setFont(QFont(QStringLiteral("Noto Sans CJK SC"), 9));
    HhcWindow window;
    WindowListener listener(&window);
    QObject::connect(&window, &HhcWindow::closing, &window, [&listener] { listener.cancel(); });
    // Ended from outside (the program that started it went away): the compile stops and
    // removes what it began, and the window goes.
    catchInterrupts();
    QTimer interrupts;
    QObject::connect(&interrupts, &QTimer::timeout, &window, [&listener] {
        if (!interrupted())
            return;
        listener.cancel();
        QApplication::quit();
    });
    interrupts.start(kInterruptPollMs);
    window.show();
    int status = kFailed;
    std::thread compile([&] { status = runHhc(projectFile, listener, options); });
    QApplication::exec();
    listener.cancel();
    compile.join();
    return status;
}

} // namespace folvane::hhc
