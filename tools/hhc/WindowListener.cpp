#include "hhc/WindowListener.h"

#include "chm/CompileError.h"
#include "hhc/HhcWindow.h"

#include <QMetaObject>

namespace folvane::hhc {

WindowListener::WindowListener(HhcWindow* window) : window_(window) {}

void WindowListener::post(const std::string& text) {
    const QString line = QString::fromStdString(text) + u'\n';
    QMetaObject::invokeMethod(
        window_, [window = window_, line] { window->appendOutput(line); }, Qt::QueuedConnection);
}

void WindowListener::notice(const std::string& text) {
    post(kNoticePrefix + text);
}

void WindowListener::warning(const std::string& text) {
    post(kWarningPrefix + text);
}

void WindowListener::progress(std::uint64_t, std::uint64_t) {
    if (cancelled_)
        throw chm::CompileError("已取消");
}

void WindowListener::written(const std::string& outputFile) {
    const QString path = QString::fromStdString(outputFile);
    QMetaObject::invokeMethod(
        window_, [window = window_, path] { window->setOutputFile(path); }, Qt::QueuedConnection);
}

void WindowListener::finished(bool succeeded, bool complete, const std::string& text) {
    const QString line = QString::fromStdString(text);
    QMetaObject::invokeMethod(
        window_, [window = window_, line, succeeded, complete] { window->showResult(succeeded, line, complete); },
        Qt::QueuedConnection);
}

} // namespace folvane::hhc
