#include "hhc/WindowedCompile.h"

#include "hhc/ExitStatus.h"
#include "hhc/HhcWindow.h"
#include "hhc/WindowListener.h"

#include <QApplication>
#include <QFont>
#include <QRect>

#include <cstdlib>
#include <string_view>
#include <thread>

namespace folvane::hhc {

namespace {
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

int runWindowed(int argc, char* argv[], const std::filesystem::path& projectFile,
                const std::optional<std::array<int, 4>>& over) {
    QApplication app(argc, argv);
    QApplication::setFont(QFont(QStringLiteral("Noto Sans CJK SC"), 9));
    HhcWindow window;
    WindowListener listener(&window);
    QObject::connect(&window, &HhcWindow::closing, &window, [&listener] { listener.cancel(); });
    if (over)
        window.centreOver(QRect((*over)[0], (*over)[1], (*over)[2], (*over)[3]));
    window.show();
    int status = kFailed;
    std::thread compile([&] { status = runHhc(projectFile, listener); });
    QApplication::exec();
    listener.cancel();
    compile.join();
    return status;
}

} // namespace folvane::hhc
