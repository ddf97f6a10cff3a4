#pragma once

#include <QString>
#include <QStringList>

#include <memory>

class QTemporaryFile;

namespace folvane {

// The chmcmd-readable copy of a project, beside the original so that relative names
// resolve the same. It disappears with this object or with remove(); the user's files
// are only read.
class ProjectCopy {
public:
    ProjectCopy();
    ~ProjectCopy();
    ProjectCopy(const ProjectCopy&) = delete;
    ProjectCopy& operator=(const ProjectCopy&) = delete;

    // Reads the project and writes the copy. On failure returns false and error() says why.
    // Without fullTextSearch the copy asks for no search index.
    bool create(const QString& projectFile, bool fullTextSearch = true);
    void remove();

    QString path() const;
    const QString& projectFolder() const { return projectFolder_; }
    const QString& outputFile() const { return outputFile_; }
    const QString& error() const { return error_; }
    const QStringList& skippedFiles() const { return skippedFiles_; }
    bool fullTextSearch() const { return fullTextSearch_; }
    bool allFilesExist() const { return allFilesExist_; }

private:
    bool fail(const QString& message, const QString& path);

    std::unique_ptr<QTemporaryFile> file_;
    QString projectFolder_;
    QString outputFile_;
    QString error_;
    QStringList skippedFiles_;
    bool fullTextSearch_ = false;
    bool allFilesExist_ = true;
};

} // namespace folvane
