#include "folvane-make/BatchHost.h"
#include "host/Version.h"

#include "folvane-make/ProgressLine.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QIODevice>

namespace folvane {

BatchHost::BatchHost(QString folder, QIODevice& messages, ProgressLine& progress)
    : folder_(std::move(folder)), messages_(messages), progress_(progress) {}

void BatchHost::beginCount(Count what, std::function<int()> total) {
    counting_ = what;
    total_ = std::move(total);
    titlesDone_ = 0;
}

void BatchHost::endCount() {
    counting_ = Count::Nothing;
    total_ = nullptr;
    progress_.clear();
}

QString BatchHost::oneLine(const QString& text) {
    QString line = text;
    line.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
    line.replace(u'\r', u' ');
    line.replace(u'\n', u' ');
    return line;
}

int BatchHost::messageBox(const QString& prompt, MsgButtons buttons, MsgIcon icon, int defaultButton,
                          const QString& /*title*/, MsgMeaning meaning) {
    if (meaning == MsgMeaning::OpenExistingProject)
        return opensExistingProject_ ? MsgResult::Yes : MsgResult::No;
    if (icon == MsgIcon::Critical) {
        if (meaning == MsgMeaning::ItemSkipped)
            ++warnings_;
        else
            ++errors_;
    }
    progress_.clear();
    messages_.write((oneLine(prompt) + u'\n').toLocal8Bit());
    return msgButtonResult(buttons, defaultButton);
}

std::optional<QString> BatchHost::inputBox(const QString& /*prompt*/, const QString& defaultText,
                                           const QString& /*title*/, std::optional<QPoint> /*positionTwips*/) {
    return defaultText;
}

QString BatchHost::browseForFolder(const QString& /*startFolder*/, const QString& /*title*/, bool /*includeFiles*/) {
    if (folderGiven_)
        return {};
    folderGiven_ = true;
    return folder_;
}

QStringList BatchHost::openFiles(const QString& /*startFolder*/, const QString& /*filter*/, const QString& /*title*/) {
    return {};
}

QString BatchHost::saveFile(const QString& /*startPath*/, const QString& /*filter*/, const QString& /*title*/,
                            const QString& /*defaultExtension*/) {
    return {};
}

// The title pass lets events run once per entry: that is the count of titles given.
void BatchHost::doEvents() {
    if (counting_ != Count::Titles)
        return;
    ++titlesDone_;
    showCount(titlesDone_);
}

void BatchHost::progressCount(qint64 count) {
    if (counting_ == Count::ScanEntries)
        showCount(count);
}

void BatchHost::showCount(qint64 count) {
    if (!progress_.isDue())
        return;
    if (counting_ == Count::ScanEntries) {
        progress_.show(QStringLiteral("scanning: %1 entries").arg(count));
    } else {
        const QString total = total_ ? QString::number(total_()) : QStringLiteral("?");
        progress_.show(QStringLiteral("titles: %1/%2").arg(count).arg(total));
    }
}

QDateTime BatchHost::now() {
    if (clock_)
        return *clock_;
    // A reproducible build fixes the time, and with it the help window's name.
    bool fixed = false;
    const qint64 seconds = qEnvironmentVariable("SOURCE_DATE_EPOCH").toLongLong(&fixed);
    if (fixed && seconds >= 0)
        return QDateTime::fromSecsSinceEpoch(seconds, Qt::UTC);
    return QDateTime::currentDateTime();
}

QString BatchHost::programFolder() {
    return QDir::toNativeSeparators(QCoreApplication::applicationDirPath());
}

QString BatchHost::programName() {
    return QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName();
}

AppVersion BatchHost::version() {
    return {FOLVANE_VERSION_MAJOR, FOLVANE_VERSION_MINOR, FOLVANE_VERSION_REVISION};
}

} // namespace folvane
