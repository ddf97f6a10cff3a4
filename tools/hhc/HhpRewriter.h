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

    QString projectFile_;
    QString projectDir_;
    QString outputFile_;
};

} // namespace folvane
