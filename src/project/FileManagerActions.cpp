#include "project/FileManagerActions.h"

#include "platform/RegularFile.h"
#include "project/DesktopRegistration.h"
#include "util/RuntimeError.h"
#include "util/TextFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <algorithm>

namespace folvane {

namespace {

const QString kOwnMark = QStringLiteral("X-Folvane-Action=compile");
const QString kScriptMark = QStringLiteral("# Folvane: compiles the chosen HTML Help projects");
const QString kThunarId = QStringLiteral("folvane-compile");
const QString kEmptyThunarActions =
    QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<actions>\n</actions>\n");

// The text of a file; empty when it is missing or cannot be read.
QString readText(const QString& path) {
    QByteArray bytes;
    if (readRegularFile(path, kMaxReadBytes, bytes) != RegularFileRead::Ok)
        return QString();
    return QString::fromUtf8(bytes);
}

bool isInstalled(const QString& program, const QStringList& configFolders) {
    if (!QStandardPaths::findExecutable(program).isEmpty())
        return true;
    for (const QString& folder : configFolders)
        if (QFileInfo(folder).isDir())
            return true;
    return false;
}

// A word of a POSIX shell command line, quoted where it needs to be.
QString shellWord(const QString& text) {
    static const QString plain =
        QStringLiteral("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789/._-+,:@");
    if (!text.isEmpty() && std::all_of(text.begin(), text.end(), [](QChar c) { return plain.contains(c); }))
        return text;
    return u'\'' + QString(text).replace(u'\'', QStringLiteral("'\\''")) + u'\'';
}

QString xmlText(const QString& text) {
    return QString(text)
        .replace(u'&', QStringLiteral("&amp;"))
        .replace(u'<', QStringLiteral("&lt;"))
        .replace(u'>', QStringLiteral("&gt;"));
}

void writeFile(const QString& path, const QString& text, bool executable) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    WriteTextFile(path, text);
    if (executable)
        QFile::setPermissions(path, QFile::permissions(path) | QFile::ExeOwner | QFile::ExeGroup | QFile::ExeOther);
}

void removeIfOurs(const QString& path, const QString& mark) {
    if (readText(path).contains(mark))
        QFile::remove(path);
}

// The range of our action in Thunar's file, the line break after it included; empty if none.
std::pair<qsizetype, qsizetype> thunarActionRange(const QString& text) {
    const qsizetype id = text.indexOf(QStringLiteral("<unique-id>") + kThunarId + QStringLiteral("</unique-id>"));
    if (id < 0)
        return {0, 0};
    const qsizetype begin = text.lastIndexOf(QStringLiteral("<action>"), id);
    qsizetype end = text.indexOf(QStringLiteral("</action>"), id);
    if (begin < 0 || end < 0)
        return {0, 0};
    end += 9;
    if (end < text.size() && text[end] == u'\n')
        ++end;
    return {begin, end};
}

} // namespace

FileManagerActions::FileManagerActions(Folders folders) : folders_(std::move(folders)) {}

QString FileManagerActions::serviceMenuPath() const {
    return folders_.data + QStringLiteral("/kio/servicemenus/folvane-compile.desktop");
}

QString FileManagerActions::scriptPath(const QString& caption) const {
    return folders_.data + QStringLiteral("/nautilus/scripts/") + caption;
}

QString FileManagerActions::thunarActionsPath() const {
    return folders_.config + QStringLiteral("/Thunar/uca.xml");
}

bool FileManagerActions::hasDolphin() const {
    return isInstalled(QStringLiteral("dolphin"),
                       {folders_.data + QStringLiteral("/kio"), folders_.data + QStringLiteral("/kservices5"),
                        folders_.config + QStringLiteral("/dolphinrc")});
}

bool FileManagerActions::hasNautilus() const {
    return isInstalled(QStringLiteral("nautilus"), {folders_.data + QStringLiteral("/nautilus")});
}

bool FileManagerActions::hasThunar() const {
    return isInstalled(QStringLiteral("thunar"), {folders_.config + QStringLiteral("/Thunar")});
}

void FileManagerActions::add(const QString& compilerPath, const QString& caption) {
    if (hasDolphin()) {
        // Dolphin runs a service menu in the user's folder only when it is executable.
        writeFile(serviceMenuPath(),
                  QStringLiteral("[Desktop Entry]\nType=Service\nServiceTypes=KonqPopupMenu/Plugin\n"
                                 "MimeType=application/x-hhp;\nActions=compile;\nX-KDE-Priority=TopLevel\n") +
                      kOwnMark + QStringLiteral("\n\n[Desktop Action compile]\nName=") + caption +
                      QStringLiteral("\nIcon=folvane\nExec=") + DesktopRegistration::execLine(compilerPath) + u'\n',
                  true);
    }
    if (hasNautilus()) {
        // Nautilus offers scripts for every file: the script passes over what is no project.
        writeFile(scriptPath(caption),
                  QStringLiteral("#!/bin/sh\n") + kScriptMark +
                      QStringLiteral(" with Folvane's compiler.\n"
                                     "for f in \"$@\"; do\n"
                                     "    case \"$f\" in\n"
                                     "    *.[hH][hH][pP]) ") +
                      shellWord(compilerPath) + QStringLiteral(" --window \"$f\" & ;;\n    esac\ndone\n"),
                  true);
    }
    if (hasThunar())
        addThunarAction(compilerPath, caption);
}

void FileManagerActions::addThunarAction(const QString& compilerPath, const QString& caption) {
    // Without a file of the user's own, Thunar shows the system's actions: start from them,
    // so that they stay.
    QString text = readText(thunarActionsPath());
    for (qsizetype i = 0; text.isEmpty() && i < folders_.systemConfig.size(); ++i)
        text = readText(folders_.systemConfig[i] + QStringLiteral("/Thunar/uca.xml"));
    if (!text.contains(QStringLiteral("</actions>")))
        text = kEmptyThunarActions;
    const auto [begin, end] = thunarActionRange(text);
    text.remove(begin, end - begin);
    const QString action =
        QStringLiteral("<action>\n\t<icon>folvane</icon>\n\t<name>") + xmlText(caption) +
        QStringLiteral("</name>\n\t<unique-id>") + kThunarId + QStringLiteral("</unique-id>\n\t<command>") +
        xmlText(shellWord(compilerPath) + QStringLiteral(" --window %f")) +
        QStringLiteral("</command>\n\t<description>把 HTML Help 项目编译为 CHM 文件</description>\n"
                       "\t<patterns>*.hhp;*.HHP</patterns>\n\t<other-files/>\n\t<text-files/>\n</action>\n");
    text.insert(text.lastIndexOf(QStringLiteral("</actions>")), action);
    writeFile(thunarActionsPath(), text, false);
}

void FileManagerActions::remove(const QString& caption) {
    removeIfOurs(serviceMenuPath(), kOwnMark);
    removeIfOurs(scriptPath(caption), kScriptMark);
    removeThunarAction();
}

void FileManagerActions::removeThunarAction() {
    QString text = readText(thunarActionsPath());
    const auto [begin, end] = thunarActionRange(text);
    if (begin == end)
        return;
    text.remove(begin, end - begin);
    // What is left is what Thunar shows without a file of the user's: the file goes.
    bool seeded = text == kEmptyThunarActions;
    for (const QString& folder : folders_.systemConfig)
        seeded = seeded || (!text.isEmpty() && text == readText(folder + QStringLiteral("/Thunar/uca.xml")));
    if (seeded)
        QFile::remove(thunarActionsPath());
    else
        writeFile(thunarActionsPath(), text, false);
}

} // namespace folvane
