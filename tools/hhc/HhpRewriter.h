#pragma once

#include <QString>
#include <QStringList>

namespace folvane {

// Turns a project file written for the Windows help compiler into one that chmcmd reads
// the same way: chmcmd takes values verbatim, resolves every file name against the
// project folder and splits window definitions on quotes without any escaping.
class HhpRewriter {
public:
    // projectFile: the project the text comes from; relative names are resolved against its folder.
    explicit HhpRewriter(const QString& projectFile);

    // The rewritten text; every line keeps its own line end.
    QString rewrite(const QString& text);

    // Absolute path of the help file the last rewritten project produces.
    const QString& outputFile() const { return outputFile_; }
    // File names the last rewrite left out: chmcmd reads "\\" as a separator, so a file whose
    // name really holds one would stop the whole compile.
    const QStringList& skippedFiles() const { return skippedFiles_; }
    // Whether every file the last rewritten project lists exists.
    bool allFilesExist() const { return allFilesExist_; }
    // Whether the last rewritten project asked for full-text search.
    bool fullTextSearch() const { return fullTextSearch_; }
    // Turns full-text search off in later rewrites: chmcmd dies building the index of a
    // project that has no words at all.
    void disableFullTextSearch() { searchAllowed_ = false; }

    // A file name as chmcmd needs it: relative to the project folder ("../" for files outside it).
    QString relativeToProject(const QString& path) const;
    // A topic (default or home page): relative, with "/" as separator.
    QString topic(const QString& value) const;

private:
    struct Options {
        QString title;
        QString contents;
        QString defaultTopic;
        bool hasOutput = false;
    };

    static Options readOptions(const QStringList& lines);
    QString rewriteOption(const QString& line);
    QString rewriteWindow(const QString& line, const Options& options) const;
    QString resolveOutput(const QString& value) const;
    bool namesBackslashFile(const QString& relative) const;
    // Whether chmcmd, reading "\\" as "/", finds the file.
    bool chmcmdFinds(const QString& relative) const;

    QString projectFile_;
    QString projectDir_;
    QString outputFile_;
    QStringList skippedFiles_;
    bool fullTextSearch_ = false;
    bool allFilesExist_ = true;
    bool searchAllowed_ = true;
};

} // namespace folvane
