#include "hhc/WindowedCompile.h"

#include "hhc/ConsoleText.h"
#include "hhc/ExitStatus.h"
#include "hhc/HhcWindow.h"
#include "hhc/WindowListener.h"

#include <QApplication>
#include <QFont>
#include <QStringList>

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

std::optional<WindowRequest> windowRequest(const std::string& argument) {
    const std::string_view option = "--window";
    if (argument == option)
        return WindowRequest{};
    if (argument.rfind(std::string(option) + "=", 0) != 0)
        return std::nullopt;
    const QStringList numbers =
        QString::fromStdString(argument.substr(option.size() + 1)).split(u',', Qt::KeepEmptyParts);
    QList<int> values;
    for (const QString& n : numbers) {
        bool ok = false;
        values.append(n.trimmed().toInt(&ok));
        if (!ok)
            return WindowRequest{};
    }
    if (values.size() != 4 || values[2] <= 0 || values[3] <= 0)
        return WindowRequest{};
    return WindowRequest{QRect(values[0], values[1], values[2], values[3])};
}

bool wantsWindow(bool asked) {
    const char* noWindow = std::getenv("FOLVANE_HHC_NO_WINDOW");
    if ((!asked && isTerminal(stdout)) || (noWindow != nullptr && std::string_view(noWindow) == "1"))
        return false;
    return isSet("DISPLAY") || isSet("WAYLAND_DISPLAY") || isSet("QT_QPA_PLATFORM");
}

int runWindowed(int argc, char* argv[], const std::filesystem::path& projectFile, std::optional<QRect> over) {
    QApplication app(argc, argv);
    QApplication::setFont(QFont(QStringLiteral("Noto Sans CJK SC"), 9));
    HhcWindow window;
    if (over)
        window.move(over->center() - window.rect().center());
    WindowListener listener(&window);
    QObject::connect(&window, &HhcWindow::closing, &window, [&listener] { listener.cancel(); });
    window.show();
    int status = kFailed;
    std::thread compile([&] { status = runHhc(projectFile, listener); });
    QApplication::exec();
    listener.cancel();
    compile.join();
    return status;
}

} // namespace folvane::hhc
