#include "HelpProject.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace folvane {

namespace {
QByteArray valueOf(const QList<QByteArray>& lines, const QByteArray& key) {
    for (const QByteArray& line : lines)
        if (line.startsWith(QByteArray(key + '=')))
            return line.mid(key.size() + 1).trimmed();
    return {};
}

QByteArray unquoted(const QByteArray& value) {
    return value.size() >= 2 && value.startsWith('"') && value.endsWith('"') ? value.mid(1, value.size() - 2) : value;
}
} // namespace

std::optional<HelpProject> HelpProject::load(const QString& projectFile) {
    QFile file(projectFile);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    HelpProject project;
    project.projectFile_ = QFileInfo(projectFile).absoluteFilePath();
    QList<QByteArray> lines = file.readAll().split('\n');
    if (!lines.isEmpty() && lines.back().isEmpty())
        lines.removeLast();
    bool inFiles = false;
    for (QByteArray line : lines) {
        if (line.endsWith('\r'))
            line.chop(1);
        project.lines_.append(line);
        if (line.startsWith('['))
            inFiles = line == "[FILES]";
        else if (inFiles && !line.trimmed().isEmpty())
            project.files_.append(QDir(project.folder()).absoluteFilePath(QString::fromLocal8Bit(line.trimmed())));
    }
    return project;
}

QString HelpProject::folder() const {
    return QFileInfo(projectFile_).absolutePath();
}

QStringList HelpProject::inputFiles() const {
    QStringList all = files_;
    const QByteArray contents = unquoted(valueOf(lines_, "Contents file"));
    if (!contents.isEmpty())
        all.append(QDir(folder()).absoluteFilePath(QString::fromLocal8Bit(contents)));
    all.append(projectFile_);
    return all;
}

QString HelpProject::compiledFile() const {
    return QDir(folder()).absoluteFilePath(QString::fromLocal8Bit(unquoted(valueOf(lines_, "Compiled file"))));
}

bool HelpProject::writeCopy(const QString& copyFile, const QString& compiledFile, bool fullTextSearch) const {
    const QDir dir(folder());
    QByteArray text;
    bool inFiles = false;
    for (const QByteArray& line : lines_) {
        QByteArray out = line;
        if (line.startsWith('['))
            inFiles = line == "[FILES]";
        else if (inFiles && !line.trimmed().isEmpty())
            out = dir.relativeFilePath(QString::fromLocal8Bit(line.trimmed())).toLocal8Bit();
        else if (line.startsWith("Compiled file="))
            out = "Compiled file=" + compiledFile.toLocal8Bit();
        else if (line.startsWith("Full-text search="))
            out = QByteArray("Full-text search=") + (fullTextSearch ? "Yes" : "No");
        text += out + "\r\n";
    }
    QFile file(copyFile);
    return file.open(QIODevice::WriteOnly) && file.write(text) == text.size();
}

} // namespace folvane
