#include "project/DesktopRegistration.h"

#include "host/Host.h"
#include "platform/RegularFile.h"
#include "util/RuntimeError.h"
#include "util/TextFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QStringList>

#include <algorithm>

namespace folvane {

namespace {

const QString kDefaultsSection = QStringLiteral("Default Applications");
const QString kKeptDefaultKey = QStringLiteral("X-Folvane-Previous-Default");
const QString kAddedDefaultKey = QStringLiteral("X-Folvane-Added-Default");

// The text of a file, the empty string when there is none, nothing when it exists but
// cannot be read: such a file must not be written over.
std::optional<QString> readConfig(const QString& path) {
    if (!QFileInfo::exists(path))
        return QString();
    QByteArray bytes;
    if (readRegularFile(path, kMaxReadBytes, bytes) != RegularFileRead::Ok)
        return std::nullopt;
    return QString::fromUtf8(bytes);
}

bool isSectionHeader(const QString& line) {
    const QString trimmed = line.trimmed();
    return trimmed.startsWith(u'[') && trimmed.endsWith(u']');
}

bool isKeyLine(const QString& line, const QString& key) {
    const qsizetype equals = line.indexOf(u'=');
    return equals > 0 && !isSectionHeader(line) && line.left(equals).trimmed() == key;
}

// The line range of a section's body, or an empty range at the end when it is missing.
struct SectionRange {
    qsizetype header = -1;
    qsizetype end = 0;
};

SectionRange findSection(const QStringList& lines, const QString& section) {
    SectionRange range{-1, lines.size()};
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (!isSectionHeader(lines[i]))
            continue;
        if (range.header >= 0) {
            range.end = i;
            break;
        }
        if (lines[i].trimmed() == u'[' + section + u']')
            range.header = i;
    }
    return range;
}

std::optional<QString> keyValue(const QString& text, const QString& section, const QString& key) {
    const QStringList lines = text.split(u'\n');
    const SectionRange range = findSection(lines, section);
    for (qsizetype i = range.header + 1; range.header >= 0 && i < range.end; ++i) {
        if (isKeyLine(lines[i], key))
            return lines[i].mid(lines[i].indexOf(u'=') + 1).trimmed();
    }
    return std::nullopt;
}

// Drops a section that holds nothing any more, with the blank line written before it.
void dropIfEmpty(QStringList& lines, SectionRange range) {
    for (qsizetype i = range.header + 1; i < range.end; ++i)
        if (!lines[i].trimmed().isEmpty())
            return;
    lines.remove(range.header, range.end - range.header);
    if (range.header > 0 && range.header == lines.size() && lines.last().trimmed().isEmpty())
        lines.removeLast();
}

// The text with the key set to value, or removed when there is none; every other line
// stays as it was. Empty when nothing is left.
QString withKeyValue(const QString& text, const QString& section, const QString& key,
                     const std::optional<QString>& value) {
    QStringList lines = text.split(u'\n');
    if (lines.last().isEmpty())
        lines.removeLast();
    SectionRange range = findSection(lines, section);
    if (range.header < 0 && value) {
        if (!lines.isEmpty() && !lines.last().trimmed().isEmpty())
            lines << QString();
        lines << u'[' + section + u']';
        range = {lines.size() - 1, lines.size()};
    }
    qsizetype at = range.header + 1;
    while (range.header >= 0 && at < range.end && !isKeyLine(lines[at], key))
        ++at;
    if (range.header >= 0 && at < range.end) {
        lines.removeAt(at);
        --range.end;
    } else {
        // New keys go after the section's last entry, before its blank lines.
        while (at > range.header + 1 && lines[at - 1].trimmed().isEmpty())
            --at;
    }
    if (value)
        lines.insert(at, key + u'=' + *value);
    else if (range.header >= 0)
        dropIfEmpty(lines, range);
    return lines.isEmpty() ? QString() : lines.join(u'\n') + u'\n';
}

// The first application a mimeapps.list value names.
QString firstEntry(const QString& value) {
    return value.section(u';', 0, 0).trimmed();
}

// Escapes of the desktop entry's string type.
QString escapedString(const QString& text) {
    QString escaped;
    for (const QChar c : text) {
        if (c == u'\\')
            escaped += QStringLiteral("\\\\");
        else if (c == u'\n')
            escaped += QStringLiteral("\\n");
        else if (c == u'\t')
            escaped += QStringLiteral("\\t");
        else if (c == u'\r')
            escaped += QStringLiteral("\\r");
        else
            escaped += c;
    }
    return escaped;
}

QString mimePackage() {
    return QStringLiteral(R"(<?xml version="1.0" encoding="UTF-8"?>
<mime-info xmlns="http://www.freedesktop.org/standards/shared-mime-info">
  <mime-type type="%1">
    <sub-class-of type="text/plain"/>
    <comment>HTML Help project</comment>
    <comment xml:lang="zh_CN">HTML Help 项目</comment>
    <generic-icon name="text-x-generic"/>
    <glob pattern="*.hhp"/>
  </mime-type>
</mime-info>
)")
        .arg(DesktopRegistration::mimeType());
}

QString desktopEntry(const QString& compilerPath, const QString& caption, const std::optional<QString>& keptDefault,
                     const std::optional<QString>& addedDefault) {
    QString entry = QStringLiteral("[Desktop Entry]\nType=Application\nName=") + caption +
                    QStringLiteral("\nComment=把 HTML Help 项目编译为 CHM 文件\nIcon=folvane\nTryExec=") +
                    escapedString(compilerPath) + QStringLiteral("\nExec=") +
                    DesktopRegistration::execLine(compilerPath) + QStringLiteral("\nMimeType=") +
                    DesktopRegistration::mimeType() + QStringLiteral(";\nNoDisplay=true\nTerminal=false\n");
    if (keptDefault)
        entry += kKeptDefaultKey + u'=' + *keptDefault + u'\n';
    if (addedDefault)
        entry += kAddedDefaultKey + u'=' + *addedDefault + u'\n';
    return entry;
}

// What opens a plain text file, as the desktop's own tools answer: before the type of their
// own, project files opened so. Empty when nothing does or no tool can say.
QString plainTextDefault() {
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("LC_ALL"), QStringLiteral("C"));
    process.setProcessEnvironment(environment);
    const QString gio = QStandardPaths::findExecutable(QStringLiteral("gio"));
    if (!gio.isEmpty()) {
        process.start(gio, {QStringLiteral("mime"), QStringLiteral("text/plain")});
        if (!process.waitForFinished(10000))
            return QString();
        // The default, or else the first application recommended, which GIO then takes.
        const QStringList lines = QString::fromUtf8(process.readAllStandardOutput()).split(u'\n');
        for (qsizetype i = 0; i < lines.size(); ++i) {
            if (lines[i].startsWith(QStringLiteral("Default application")))
                return lines[i].section(QStringLiteral(": "), 1).trimmed();
            if (lines[i].startsWith(QStringLiteral("Recommended applications")) && i + 1 < lines.size())
                return lines[i + 1].trimmed().endsWith(QStringLiteral(".desktop")) ? lines[i + 1].trimmed() : QString();
        }
        return QString();
    }
    const QString xdgMime = QStandardPaths::findExecutable(QStringLiteral("xdg-mime"));
    if (xdgMime.isEmpty())
        return QString();
    process.start(xdgMime, {QStringLiteral("query"), QStringLiteral("default"), QStringLiteral("text/plain")});
    return process.waitForFinished(10000) ? QString::fromUtf8(process.readAllStandardOutput()).trimmed() : QString();
}

} // namespace

DesktopRegistration::Folders DesktopRegistration::userFolders() {
    QStringList systemConfig = QStandardPaths::standardLocations(QStandardPaths::GenericConfigLocation);
    const QString user = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    systemConfig.removeAll(user);
    return {QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation), user, systemConfig};
}

DesktopRegistration::DesktopRegistration(Host& host, Folders folders) : host_(host), folders_(std::move(folders)) {}

QString DesktopRegistration::entryCaption(const QString& verbCaption) {
    static const QRegularExpression accessKey(QStringLiteral(R"(\(&.\)|&(?=.))"));
    return QString(verbCaption).remove(accessKey);
}

QString DesktopRegistration::execLine(const QString& program) {
    static const QString reserved = QStringLiteral(" \t\n\"'\\><~|&;$*?#()`");
    static const QString escapedInQuotes = QStringLiteral("\"`$\\");
    QString argument = program;
    if (std::any_of(program.begin(), program.end(), [](QChar c) { return reserved.contains(c); })) {
        argument = QStringLiteral("\"");
        for (const QChar c : program) {
            if (escapedInQuotes.contains(c))
                argument += u'\\';
            argument += c;
        }
        argument += u'"';
    }
    argument.replace(u'%', QStringLiteral("%%"));
    // The compiler shows its output in a window only when asked: here nobody sees a terminal.
    return escapedString(argument) + QStringLiteral(" --window %f");
}

QString DesktopRegistration::mimePackagePath() const {
    return folders_.data + QStringLiteral("/mime/packages/folvane-hhp.xml");
}

QString DesktopRegistration::entryPath() const {
    return folders_.data + QStringLiteral("/applications/") + entryName();
}

QString DesktopRegistration::defaultsPath() const {
    return folders_.config + QStringLiteral("/mimeapps.list");
}

bool DesktopRegistration::isRegistered() const {
    return QFileInfo(entryPath()).isFile() && QFileInfo(mimePackagePath()).isFile();
}

std::optional<QString> DesktopRegistration::entryValue(const QString& key) const {
    const std::optional<QString> entry = readConfig(entryPath());
    return entry ? keyValue(*entry, QStringLiteral("Desktop Entry"), key) : std::nullopt;
}

bool DesktopRegistration::registerCompiler(const QString& compilerPath, const QString& verbCaption) {
    const std::optional<QString> defaults = readConfig(defaultsPath());
    if (!defaults)
        return isRegistered();
    const bool wasRegistered = isRegistered();
    const QString caption = entryCaption(verbCaption);
    // Where ours is the default already (made so by the user, or by an earlier registration),
    // it stays, and the one before it is still remembered. Where no default is set, the only
    // application of the new type would become it: what opened project files before (they
    // were plain text) is made the default, and taken away again on removal.
    const std::optional<QString> current = keyValue(*defaults, kDefaultsSection, mimeType());
    const bool ours = current && firstEntry(*current) == entryName();
    const std::optional<QString> previous = ours ? entryValue(kKeptDefaultKey) : std::nullopt;
    std::optional<QString> added = ours ? std::nullopt : entryValue(kAddedDefaultKey);
    if (!current) {
        const QString before = plainTextDefault();
        added = before.isEmpty() || before == entryName() ? std::nullopt : std::optional<QString>(before);
    }
    try {
        for (const QString& path : {mimePackagePath(), entryPath(), defaultsPath()})
            QDir().mkpath(QFileInfo(path).absolutePath());
        WriteTextFile(mimePackagePath(), mimePackage());
        WriteTextFile(entryPath(), desktopEntry(compilerPath, caption, previous, added));
        if (!current && added)
            WriteTextFile(defaultsPath(), withKeyValue(*defaults, kDefaultsSection, mimeType(), added));
        fileManagers().add(compilerPath, caption);
    } catch (const RuntimeError&) {
        if (!wasRegistered)
            removeOwnFiles(caption);
    }
    refreshMimeDatabase();
    return isRegistered();
}

bool DesktopRegistration::unregister(const QString& verbCaption) {
    const std::optional<QString> defaults = readConfig(defaultsPath());
    if (!defaults)
        return isRegistered();
    const std::optional<QString> current = keyValue(*defaults, kDefaultsSection, mimeType());
    try {
        // Ours goes, with the one it replaced put back; so does the default the registration
        // added. One the user chose since stays.
        const bool ours = current && firstEntry(*current) == entryName();
        if (ours || (current && current == entryValue(kAddedDefaultKey))) {
            const QString restored = withKeyValue(*defaults, kDefaultsSection, mimeType(),
                                                  ours ? entryValue(kKeptDefaultKey) : std::nullopt);
            // The file was ours alone: it goes as a whole.
            if (restored.isEmpty() && !QFile::remove(defaultsPath()))
                return isRegistered();
            if (!restored.isEmpty())
                WriteTextFile(defaultsPath(), restored);
        }
        removeOwnFiles(entryCaption(verbCaption));
    } catch (const RuntimeError&) {
    }
    refreshMimeDatabase();
    return isRegistered();
}

void DesktopRegistration::removeOwnFiles(const QString& caption) {
    fileManagers().remove(caption);
    QFile::remove(entryPath());
    QFile::remove(mimePackagePath());
}

void DesktopRegistration::refreshMimeDatabase() {
    // Without shared-mime-info (or desktop-file-utils) the caches wait for the next update by anyone.
    const QString mime = QStandardPaths::findExecutable(QStringLiteral("update-mime-database"));
    if (!mime.isEmpty())
        host_.startDetached(mime, {folders_.data + QStringLiteral("/mime")});
    const QString applications = QStandardPaths::findExecutable(QStringLiteral("update-desktop-database"));
    if (!applications.isEmpty() && QFileInfo(folders_.data + QStringLiteral("/applications")).isDir())
        host_.startDetached(applications, {folders_.data + QStringLiteral("/applications")});
}

} // namespace folvane
