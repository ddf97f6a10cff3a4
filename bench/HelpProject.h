#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>

namespace folvane {

// A project file as the program saved it, read back for the compile figure: the files it
// lists, the help file it names, and copies of it that other compilers accept.
class HelpProject {
public:
    static std::optional<HelpProject> load(const QString& projectFile);

    const QString& projectFile() const { return projectFile_; }
    QString folder() const;
    // The listed files, the contents file and the project file itself: what a compiler reads.
    QStringList inputFiles() const;
    const QStringList& listedFiles() const { return files_; }
    QString compiledFile() const;

    // A copy for compilers that take "Compiled file=" unquoted and the listed files relative
    // to the project's folder; with `fullTextSearch` false it asks for no search index.
    bool writeCopy(const QString& copyFile, const QString& compiledFile, bool fullTextSearch) const;

private:
    QString projectFile_;
    QList<QByteArray> lines_;
    QStringList files_;
};

} // namespace folvane
