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
// Found by name the way viewers look pages up, and read whole.
QString storedProblem(chmFile* chm, const QString& source, const QDir& folder) {
    QFile file(source);
    if (!file.open(QIODevice::ReadOnly))
        return QStringLiteral("cannot read the source %1").arg(source);
    const QByteArray expected = file.readAll();
    const QByteArray name = '/' + folder.relativeFilePath(source).toUtf8();
    chmUnitInfo unit;
    if (chm_resolve_object(chm, name.constData(), &unit) != CHM_RESOLVE_SUCCESS ||
        unit.length != static_cast<LONGUINT64>(expected.size()))
        return QStringLiteral("chmlib does not find %1").arg(QString::fromUtf8(name));
    QByteArray stored(expected.size(), '\0');
    const auto length = static_cast<LONGINT64>(unit.length);
    if (chm_retrieve_object(chm, &unit, reinterpret_cast<unsigned char*>(stored.data()), 0, length) != length ||
        stored != expected)
        return QStringLiteral("chmlib reads %1 wrong").arg(QString::fromUtf8(name));
    return {};
}

QString readBackProblem(const QString& helpFile, const HelpProject& project) {
    chmFile* chm = chm_open(QFile::encodeName(helpFile).constData());
    if (chm == nullptr)
        return QStringLiteral("chmlib cannot open it");
    const QDir folder(project.folder());
    QString problem;
    for (const QString& source : project.listedFiles()) {
        problem = storedProblem(chm, source, folder);
        if (!problem.isEmpty())
            break;
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
        problem = readBackProblem(helpFile, project);
#else
    Q_UNUSED(project)
#endif
    return problem;
}

} // namespace folvane
