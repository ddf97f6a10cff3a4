#pragma once

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QString>

namespace folvane {

// Writes the files of a web site for the batch tool's tests.
class GeneratedSite {
public:
    explicit GeneratedSite(QString root) : root_(std::move(root)) { QDir().mkpath(root_); }

    const QString& root() const { return root_; }
    QString path(const QString& relative) const { return root_ + u'/' + relative; }

    // Writes bytes to root/relative, creating its folders; returns the full path.
    QString file(const QString& relative, const QByteArray& bytes) const {
        const QString full = path(relative);
        QDir().mkpath(QFileInfo(full).absolutePath());
        QFile out(full);
        if (out.open(QIODevice::WriteOnly))
            out.write(bytes);
        return full;
    }

    QString page(const QString& relative, const QString& title, const QByteArray& body = "<p>text</p>") const {
        return file(relative, "<html><head><title>" + title.toUtf8() +
                                  "</title><link rel=\"stylesheet\" href=\"style.css\"></head><body>" + body +
                                  "</body></html>");
    }

    QString pageWithoutTitle(const QString& relative) const {
        return file(relative, "<html><body><p>no title here</p></body></html>");
    }

    // Empty files spread over `folders` sub-folders: enough to overfill the file list.
    void emptyFiles(int count, int folders) const {
        for (int f = 0; f < folders; ++f)
            QDir().mkpath(path(QStringLiteral("d%1").arg(f)));
        for (int i = 0; i < count; ++i) {
            QFile out(path(QStringLiteral("d%1/f%2.htm").arg(i % folders).arg(i)));
            if (!out.open(QIODevice::WriteOnly))
                return;
        }
    }

    // HH_KVEL.hhp, HH_KVEL.hhc and .chm files in the root.
    QStringList projectFiles() const {
        return QDir(root_).entryList({QStringLiteral("HH_KVEL.*"), QStringLiteral("*.chm")}, QDir::Files, QDir::Name);
    }

private:
    QString root_;
};

} // namespace folvane
