#include "files/FolderScan.h"

#include "files/PatternList.h"
#include "host/Host.h"
#include "platform/DirectoryReader.h"
#include "platform/FileWrite.h"

#include <QElapsedTimer>

#include <vector>

namespace folvane {

namespace {

// Letting events run costs microseconds even when none are pending, several times the work
// per entry; every few milliseconds keeps the window just as responsive.
constexpr qint64 kEventIntervalMs = 10;

class BusyPointer {
public:
    explicit BusyPointer(Host& host) : host_(host) { host_.setBusy(true); }
    ~BusyPointer() { host_.setBusy(false); }
    BusyPointer(const BusyPointer&) = delete;
    BusyPointer& operator=(const BusyPointer&) = delete;

private:
    Host& host_;
};

// Names that are listed as left out, at most; the rest are counted.
constexpr qsizetype kLeftOutShown = 20;

// "?" stands for a character the file system could not give; control characters would
// break the line-based project files (Posix only: Windows forbids them in names).
bool isListable(const QString& name, PathStyle style) {
    for (const QChar c : name) {
        const char16_t u = c.unicode();
        if (u == u'?')
            return false;
        if (style == PathStyle::Posix && (u < 0x20 || u == 0x7F))
            return false;
    }
    return true;
}

// Control characters as \xHH, so that the name stays on its line of the message.
QString shownName(const QString& name) {
    QString shown;
    for (const QChar c : name) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7F)
            shown += QStringLiteral("\\x%1").arg(c.unicode(), 2, 16, QLatin1Char('0'));
        else
            shown += c;
    }
    return shown;
}

QString leftOutReason(DirectoryReader::LeftOut why) {
    switch (why) {
    case DirectoryReader::LeftOut::NameNotText:
        return QStringLiteral("名称不是系统编码或ANSI代码页中的有效文字");
    case DirectoryReader::LeftOut::NotAFile:
        return QStringLiteral("不是普通文件");
    case DirectoryReader::LeftOut::BrokenLink:
        return QStringLiteral("链接指向的文件不存在");
    case DirectoryReader::LeftOut::PathTooLong:
        break;
    }
    return QStringLiteral("路径太长");
}

struct FolderResult {
    QStringList files;
    std::vector<QString> subs; // sub-folders in the order found
};

class Scan {
public:
    Scan(const QString& patterns, Host& host, PathStyle style)
        : patterns_(patterns), host_(host), style_(style), separator_(pathSeparator(style)) {}

    QStringList run(const QString& folder);
    // What was left out and why, one line each.
    const QStringList& leftOut() const { return leftOut_; }

private:
    FolderResult listOne(const QString& folder);
    void addFile(FolderResult& result, const QString& folder, const QString& name) const;
    bool matches(const QString& name) const;
    void letEventsRun();

    PatternList patterns_;
    Host& host_;
    PathStyle style_;
    QChar separator_;
    DirectoryReader reader_;
    QElapsedTimer sinceEvents_;
    qint64 entriesSeen_ = 0;
    QStringList leftOut_;
};

// Each folder's own files come after everything found below it, and sub-folders found later
// come first: that is the folders in reverse order of a depth-first walk that takes
// sub-folders in the order found. The walk keeps its own stack, so depth has no limit, and
// every folder is listed completely before the next is opened.
QStringList Scan::run(const QString& folder) {
    std::vector<QString> pending{folder.endsWith(separator_) ? folder : folder + separator_};
    std::vector<QStringList> chunks;
    qsizetype total = 0;
    while (!pending.empty()) {
        const QString current = std::move(pending.back());
        pending.pop_back();
        FolderResult result = listOne(current);
        total += result.files.size();
        chunks.push_back(std::move(result.files));
        for (auto it = result.subs.rbegin(); it != result.subs.rend(); ++it)
            pending.push_back(std::move(*it));
    }
    QStringList batch;
    batch.reserve(total);
    for (auto it = chunks.rbegin(); it != chunks.rend(); ++it)
        batch += *it;
    return batch;
}

FolderResult Scan::listOne(const QString& folder) {
    FolderResult result;
    const auto leaveOut = [&](const QString& name, const QString& why) {
        leftOut_.append(folder + shownName(name) + QStringLiteral("（") + why + QStringLiteral("）"));
    };
    const bool read = reader_.read(
        folder,
        [&](const QString& name, DirectoryReader::EntryKind kind) {
            if (!isListable(name, style_))
                leaveOut(name, QStringLiteral("名称含有“?”或控制字符"));
            else if (kind == DirectoryReader::EntryKind::Folder)
                result.subs.push_back(folder + name + separator_);
            else if (isOwnTemporaryName(name))
                leaveOut(name, QStringLiteral("中断的保存或编译留下的临时文件"));
            else
                addFile(result, folder, name);
            ++entriesSeen_;
            letEventsRun();
        },
        [&](const QString& name, DirectoryReader::LeftOut why) { leaveOut(name, leftOutReason(why)); });
    if (!read && !reader_.failure().isEmpty())
        leftOut_.append(folder + QStringLiteral("（文件夹无法读取：") + reader_.failure() + QStringLiteral("）"));
    return result;
}

// The first entry always lets events run; after that the interval counts from the end of
// the last run, so time spent in a command handled in between does not count.
void Scan::letEventsRun() {
    if (sinceEvents_.isValid() && sinceEvents_.elapsed() < kEventIntervalMs)
        return;
    host_.progressCount(entriesSeen_);
    host_.doEvents();
    sinceEvents_.start();
}

void Scan::addFile(FolderResult& result, const QString& folder, const QString& name) const {
    if (name.contains(u'.')) {
        if (matches(name))
            result.files.append(folder + name);
        return;
    }
    // A name without "." is tested as name + "."; Windows drops that dot again when the path
    // is used, on Posix it would name another file.
    const QString dotted = name + u'.';
    if (matches(dotted))
        result.files.append(folder + (style_ == PathStyle::Windows ? dotted : name));
}

bool Scan::matches(const QString& name) const {
    try {
        return patterns_.matches(name);
    } catch (const RuntimeError&) {
        return true; // an invalid element lists the file rather than hide it
    }
}

} // namespace

QStringList ListFolderFiles(const QString& folder, const QString& patterns, Host& host, PathStyle style) {
    if (folder.isEmpty())
        return {};
    const BusyPointer busy(host);
    Scan scan(patterns, host, style);
    QStringList files = scan.run(folder);
    const QStringList& leftOut = scan.leftOut();
    if (!leftOut.isEmpty()) {
        QString text = QStringLiteral("以下文件或文件夹无法加入列表，已略去：");
        for (qsizetype i = 0; i < leftOut.size() && i < kLeftOutShown; ++i)
            text += QStringLiteral("\r\n") + leftOut[i];
        if (leftOut.size() > kLeftOutShown)
            text += QStringLiteral("\r\n……共 %1 项").arg(leftOut.size());
        host.messageBox(text, MsgButtons::OkOnly, MsgIcon::Critical, 0, QString(), MsgMeaning::ItemSkipped);
    }
    return files;
}

} // namespace folvane
