#include "hhc/ProjectCopy.h"

#include "hhc/HhpRewriter.h"

#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>
#include <QStringEncoder>
#include <QTemporaryFile>

namespace folvane {

ProjectCopy::ProjectCopy() = default;

ProjectCopy::~ProjectCopy() = default;

bool ProjectCopy::create(const QString& projectFile, bool fullTextSearch) {
    remove();
    const QFileInfo info(projectFile);
    if (!info.exists())
        return fail(QStringLiteral("找不到项目文件："), info.absoluteFilePath());
    QFile in(info.absoluteFilePath());
    if (info.isDir() || !in.open(QIODevice::ReadOnly))
        return fail(QStringLiteral("无法读取项目文件："), info.absoluteFilePath());
    QStringDecoder decode(QStringConverter::System);
    const QString text = decode(in.readAll());
    in.close();

    HhpRewriter rewriter(info.absoluteFilePath());
    if (!fullTextSearch)
        rewriter.disableFullTextSearch();
    QStringEncoder encode(QStringConverter::System);
    const QByteArray bytes = encode(rewriter.rewrite(text));
    projectFolder_ = info.absolutePath();
    outputFile_ = rewriter.outputFile();
    skippedFiles_ = rewriter.skippedFiles();
    fullTextSearch_ = rewriter.fullTextSearch();
    allFilesExist_ = rewriter.allFilesExist();

    // chmcmd tells project formats apart by the ".hhp" ending.
    auto file = std::make_unique<QTemporaryFile>(projectFolder_ + QStringLiteral("/.") + info.completeBaseName() +
                                                 QStringLiteral("-XXXXXX.hhp"));
    if (!file->open() || file->write(bytes) != bytes.size() || !file->flush())
        return fail(QStringLiteral("无法写入临时项目文件："), projectFolder_);
    file->close();
    file_ = std::move(file);
    return true;
}

void ProjectCopy::remove() {
    file_.reset();
}

QString ProjectCopy::path() const {
    return file_ ? file_->fileName() : QString();
}

bool ProjectCopy::fail(const QString& message, const QString& path) {
    error_ = message + u'\n' + path;
    return false;
}

} // namespace folvane
