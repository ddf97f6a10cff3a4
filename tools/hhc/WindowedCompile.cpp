#include "hhc/WindowedCompile.h"

#include "hhc/ConsoleText.h"
#include "hhc/HhcCommand.h"
#include "hhc/HhcWindow.h"
#include "hhc/WindowListener.h"
#include "host/HhcExitStatus.h"

#include <QApplication>
#include <QFont>
#include <QRect>
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

bool canShowWindow() {
    // Tests that press the program's compile button keep the output where they read it.
    const char* noWindow = std::getenv("FOLVANE_HHC_NO_WINDOW");
    if (noWindow != nullptr && std::string_view(noWindow) == "1")
        return false;
    return isSet("DISPLAY") || isSet("WAYLAND_DISPLAY") || isSet("QT_QPA_PLATFORM");
}

int runWindowed(int argc, char* argv[], const HhcOptions& options) {
    QApplication app(argc, argv);
    QApplication::setFont(QFont(QStringLiteral("Noto Sans CJK SC"), 9));
    HhcWindow window;
    WindowListener listener(&window);
    QObject::connect(&window, &HhcWindow::closing, &window, [&listener] { listener.cancel(); });
    if (options.windowOver)
        window.centreOver(QRect(options.windowOver->at(0), options.windowOver->at(1), options.windowOver->at(2),
                                options.windowOver->at(3)));
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
    std::thread compile([&] { status = runHhc(options.projectFile, listener, options.compile); });
    QApplication::exec();
    listener.cancel();
    compile.join();
    return status;
}

} // namespace folvane::hhc
