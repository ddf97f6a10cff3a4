#include "gui/QtHost.h"
#include "host/Version.h"

#include "gui/FolderBrowser.h"
#include "gui/MessageBoxWidth.h"
#include "gui/Twips.h"
#include "platform/ChildLifetime.h"
#include "platform/DetachedProcess.h"
#include "registry/RegistryBackend.h"

#ifdef Q_OS_WIN
#include "registry/WinRegistryBackend_win.h"
#else
#include "registry/MemoryRegistryBackend.h"
#endif

#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QScreen>
#include <QSettings>
#include <QUrl>

namespace folvane {

namespace {
// How long a child asked to end may take before it is killed.
constexpr int kChildEndMs = 3000;

QMessageBox::Icon qtIcon(MsgIcon icon) {
    switch (icon) {
    case MsgIcon::Critical:
        return QMessageBox::Critical;
    case MsgIcon::Question:
        return QMessageBox::Question;
    case MsgIcon::Exclamation:
        return QMessageBox::Warning;
    case MsgIcon::Information:
        return QMessageBox::Information;
    case MsgIcon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

QMessageBox::StandardButton qtButton(int result) {
    switch (result) {
    case MsgResult::Ok:
        return QMessageBox::Ok;
    case MsgResult::Cancel:
        return QMessageBox::Cancel;
    case MsgResult::Abort:
        return QMessageBox::Abort;
    case MsgResult::Retry:
        return QMessageBox::Retry;
    case MsgResult::Ignore:
        return QMessageBox::Ignore;
    case MsgResult::Yes:
        return QMessageBox::Yes;
    case MsgResult::No:
        return QMessageBox::No;
    default:
        return QMessageBox::NoButton;
    }
}

QString titleOr(const QString& title) {
    return title.isEmpty() ? QtHost::programTitle() : title;
}

QString nativePath(const QString& path) {
    return path.isEmpty() ? path : QDir::toNativeSeparators(path);
}
} // namespace

QStringList qtFileFilters(const QString& filter) {
    const QStringList parts = filter.split(u'|');
    QStringList out;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QStringList patterns = parts[i + 1].split(u';', Qt::SkipEmptyParts);
        // "*.*" means every file, also those without a dot.
        for (QString& p : patterns)
            if (p == QStringLiteral("*.*"))
                p = QStringLiteral("*");
        out.append(parts[i] + QStringLiteral(" (") + patterns.join(u' ') + u')');
    }
    return out;
}

QtHost::QtHost() = default;

QtHost::~QtHost() {
    // A compile still running stops at its next step and removes its temporary file.
    for (const std::unique_ptr<QProcess>& child : children_)
        if (child->state() != QProcess::NotRunning)
            child->terminate();
    for (const std::unique_ptr<QProcess>& child : children_)
        if (child->state() != QProcess::NotRunning)
            child->waitForFinished(kChildEndMs);
}

QString QtHost::programTitle() {
    return QStringLiteral("Folvane");
}

QWidget* QtHost::dialogOwner() {
    if (QWidget* w = QApplication::activeModalWidget())
        return w;
    return QApplication::activeWindow();
}

int QtHost::messageBox(const QString& prompt, MsgButtons buttons, MsgIcon icon, int defaultButton, const QString& title,
                       MsgMeaning /*meaning*/) {
    QMessageBox box(qtIcon(icon), titleOr(title), prompt, QMessageBox::NoButton, dialogOwner());
    const int count = msgButtonCount(buttons);
    for (int i = 0; i < count; ++i) {
        QPushButton* b = box.addButton(qtButton(msgButtonResult(buttons, i)));
        if (i == defaultButton)
            box.setDefaultButton(b);
    }
    widenForTitle(box);
    box.exec();
    for (int i = 0; i < count; ++i) {
        const int result = msgButtonResult(buttons, i);
        if (box.clickedButton() == box.button(qtButton(result)))
            return result;
    }
    // Closed with Esc or the close box: Cancel where there is one, else the last button (否 of 是/否).
    for (int i = 0; i < count; ++i)
        if (msgButtonResult(buttons, i) == MsgResult::Cancel)
            return MsgResult::Cancel;
    return msgButtonResult(buttons, count - 1);
}

std::optional<QString> QtHost::inputBox(const QString& prompt, const QString& defaultText, const QString& title,
                                        std::optional<QPoint> positionTwips) {
    QInputDialog dialog(dialogOwner());
    dialog.setWindowTitle(titleOr(title));
    dialog.setLabelText(prompt);
    dialog.setTextValue(defaultText);
    dialog.resize(pixelsFromTwips(QSize(6000, 1800)));
    if (positionTwips)
        dialog.move(pixelsFromTwips(*positionTwips));
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.textValue();
}

QString QtHost::browseForFolder(const QString& startFolder, const QString& title, bool includeFiles) {
    return nativePath(folvane::browseForFolder(dialogOwner(), startFolder, title, includeFiles));
}

QStringList QtHost::openFiles(const QString& startFolder, const QString& filter, const QString& title) {
    QFileDialog dialog(dialogOwner(), title, startFolder);
    dialog.setFileMode(QFileDialog::ExistingFiles);
    dialog.setNameFilters(qtFileFilters(filter));
    if (dialog.exec() != QDialog::Accepted)
        return {};
    QStringList files;
    for (const QString& f : dialog.selectedFiles())
        files.append(nativePath(f));
    return files;
}

QString QtHost::saveFile(const QString& startPath, const QString& filter, const QString& title,
                         const QString& defaultExtension) {
    QFileDialog dialog(dialogOwner(), title);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilters(qtFileFilters(filter));
    dialog.setDefaultSuffix(defaultExtension);
    if (!startPath.isEmpty()) {
        const QFileInfo info(startPath);
        if (info.isDir()) {
            dialog.setDirectory(startPath);
        } else {
            dialog.setDirectory(info.absolutePath());
            dialog.selectFile(info.fileName());
        }
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return QString();
    return nativePath(dialog.selectedFiles().constFirst());
}

void QtHost::doEvents() {
    QCoreApplication::processEvents();
}

void QtHost::setBusy(bool busy) {
    if (busy == busy_)
        return;
    busy_ = busy;
    if (busy)
        QApplication::setOverrideCursor(Qt::WaitCursor);
    else
        QApplication::restoreOverrideCursor();
}

bool QtHost::isKeyDown(int virtualKey) {
    const Qt::KeyboardModifiers mods = QGuiApplication::queryKeyboardModifiers();
    switch (virtualKey) {
    case 16:
        return mods.testFlag(Qt::ShiftModifier);
    case 17:
        return mods.testFlag(Qt::ControlModifier);
    case 18:
        return mods.testFlag(Qt::AltModifier);
    default:
        return false;
    }
}

bool QtHost::startDetached(const QString& program, const QStringList& arguments, const QString& commandLine) {
    return startDetachedProcess(program, arguments, commandLine);
}

bool QtHost::startChild(const QString& program, const QStringList& arguments, const QString& commandLine) {
#ifdef Q_OS_WIN
    // Started as before, with its own console window, then bound to the program's job.
    qint64 id = 0;
    if (!startDetachedProcess(program, arguments, commandLine, &id))
        return false;
    endWithThisProgram(id);
    return true;
#else
    Q_UNUSED(commandLine)
    std::erase_if(children_, [](const std::unique_ptr<QProcess>& p) { return p->state() == QProcess::NotRunning; });
    auto child = std::make_unique<QProcess>();
    child->setProgram(program);
    child->setArguments(arguments);
    // What it prints goes where ours goes, as for a detached process.
    child->setProcessChannelMode(QProcess::ForwardedChannels);
    child->setStandardInputFile(QProcess::nullDevice());
    endWithThisProgram(*child);
    child->start();
    if (!child->waitForStarted())
        return false;
    children_.push_back(std::move(child));
    return true;
#endif
}

void QtHost::openUrl(const QString& url) {
    QDesktopServices::openUrl(QUrl(url));
}

void QtHost::beep() {
    QApplication::beep();
}

QSize QtHost::screenSizeTwips() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return twipsFromPixels(screen ? screen->size() : QSize(1920, 1080));
}

std::optional<QRect> QtHost::programWindowFrame() {
    // The dialogs belong to the main window: it is the one without an owner.
    QWidget* window = dialogOwner();
    while (window != nullptr && window->parentWidget() != nullptr)
        window = window->parentWidget()->window();
    if (window == nullptr || !window->isVisible())
        return std::nullopt;
    return window->frameGeometry();
}

QDateTime QtHost::now() {
    return QDateTime::currentDateTime();
}

QString QtHost::programFolder() {
    return QDir::toNativeSeparators(QCoreApplication::applicationDirPath());
}

QString QtHost::programName() {
    return QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName();
}

AppVersion QtHost::version() {
    return AppVersion{FOLVANE_VERSION_MAJOR, FOLVANE_VERSION_MINOR, FOLVANE_VERSION_REVISION};
}

QString QtHost::recall(const QString& key) {
    return QSettings(QStringLiteral("Folvane"), QStringLiteral("folvane")).value(key).toString();
}

void QtHost::remember(const QString& key, const QString& value) {
    QSettings(QStringLiteral("Folvane"), QStringLiteral("folvane")).setValue(key, value);
}

RegistryBackend& QtHost::registry() {
    // Opened on first use: a run that never touches the registry reads nothing.
    if (!registry_) {
#ifdef Q_OS_WIN
        registry_ = std::make_unique<WinRegistryBackend>();
#else
        // The compile command registers with the desktop here, not in a registry.
        registry_ = std::make_unique<MemoryRegistryBackend>();
#endif
    }
    return *registry_;
}

} // namespace folvane
