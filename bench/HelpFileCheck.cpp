#include "HelpFileCheck.h"

#include "HelpProject.h"

#include <QDir>
#include <QFile>
#include <QtEndian>

#ifdef FOLVANE_HAVE_CHMLIB
#include <chm_lib.h>
#endif

namespace folvane {

namespace {
constexpr qint64 kHeaderBytes = 0x60;
constexpr int kSampledFiles = 16;

quint64 u64At(const QByteArray& bytes, qsizetype at) {
    return qFromLittleEndian<quint64>(bytes.constData() + at);
}

// The ITSF header names the directory (which starts "ITSP") and the content that follows it.
QString headerProblem(const QString& helpFile) {
    QFile file(helpFile);
    if (!file.open(QIODevice::ReadOnly))
        return QStringLiteral("cannot open");
    const qint64 size = file.size();
    const QByteArray header = file.read(kHeaderBytes);
    if (header.size() < kHeaderBytes || !header.startsWith("ITSF") ||
        qFromLittleEndian<quint32>(header.constData() + 4) != 3)
        return QStringLiteral("no ITSF header");
    const quint64 directory = u64At(header, 0x48);
    const quint64 directoryBytes = u64At(header, 0x50);
    const quint64 content = u64At(header, 0x58);
    if (directory + directoryBytes > static_cast<quint64>(size) || content > static_cast<quint64>(size))
        return QStringLiteral("header points past the end");
    file.seek(static_cast<qint64>(directory));
    if (file.read(4) != "ITSP")
        return QStringLiteral("no directory");
    return {};
}

#ifdef FOLVANE_HAVE_CHMLIB
QString sampleProblem(const QString& helpFile, const HelpProject& project) {
    chmFile* chm = chm_open(QFile::encodeName(helpFile).constData());
    if (chm == nullptr)
        return QStringLiteral("chmlib cannot open it");
    QString problem;
    const QStringList& files = project.listedFiles();
    const qsizetype step = std::max<qsizetype>(1, files.size() / kSampledFiles);
    for (qsizetype i = files.size() - 1; i >= 0 && problem.isEmpty(); i -= step) {
        QFile source(files[i]);
        if (!source.open(QIODevice::ReadOnly))
            continue;
        const QByteArray expected = source.readAll();
        const QByteArray name = '/' + QDir(project.folder()).relativeFilePath(files[i]).toUtf8();
        chmUnitInfo unit;
        QByteArray stored(expected.size(), '\0');
        if (chm_resolve_object(chm, name.constData(), &unit) != CHM_RESOLVE_SUCCESS ||
            unit.length != static_cast<LONGUINT64>(expected.size()) ||
            chm_retrieve_object(chm, &unit, reinterpret_cast<unsigned char*>(stored.data()), 0,
                                static_cast<LONGINT64>(unit.length)) != static_cast<LONGINT64>(unit.length) ||
            stored != expected)
            problem = QStringLiteral("chmlib reads %1 wrong").arg(QString::fromUtf8(name));
    }
    chm_close(chm);
    return problem;
}
#endif
} // namespace

QString HelpFileCheck::problem(const QString& helpFile, const HelpProject& project) {
    QString problem = headerProblem(helpFile);
#ifdef FOLVANE_HAVE_CHMLIB
    if (problem.isEmpty())
        problem = sampleProblem(helpFile, project);
#else
    Q_UNUSED(project)
#endif
    return problem;
}

} // namespace folvane
