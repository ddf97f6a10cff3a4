#pragma once

// Reads help files with independent readers, for round trips: chmlib, libmspack and 7-Zip.
// Header only: the tests that include it link the readers (folvane_chm_readers).

#include <QByteArray>
#include <QCoreApplication>
#include <QDir>
#include <QMap>
#include <QProcess>
#include <QStandardPaths>
#include <QString>
#include <QStringList>

#ifdef FOLVANE_HAVE_CHMLIB
#include <chm_lib.h>
#endif
#ifdef FOLVANE_HAVE_MSPACK
#include <mspack.h>
#endif

#include <optional>

namespace folvane::test {

#ifdef FOLVANE_HAVE_CHMLIB
// Every name chmlib's enumeration lists, with its content (folders left out).
inline std::optional<QMap<QByteArray, QByteArray>> readWithChmlib(const QString& file) {
    chmFile* chm = chm_open(QFile::encodeName(file).constData());
    if (chm == nullptr)
        return std::nullopt;
    struct Walk {
        chmFile* chm;
        QMap<QByteArray, QByteArray> files;
        bool ok = true;
    } walk{chm, {}};
    chm_enumerate(
        chm, CHM_ENUMERATE_ALL,
        [](chmFile* h, chmUnitInfo* ui, void* context) -> int {
            auto* w = static_cast<Walk*>(context);
            const QByteArray name(ui->path);
            if (name.endsWith('/'))
                return CHM_ENUMERATOR_CONTINUE;
            QByteArray bytes(static_cast<qsizetype>(ui->length), '\0');
            if (ui->length > 0 &&
                chm_retrieve_object(h, ui, reinterpret_cast<unsigned char*>(bytes.data()), 0,
                                    static_cast<LONGINT64>(ui->length)) != static_cast<LONGINT64>(ui->length))
                w->ok = false;
            // Found again by name, the way viewers look pages up.
            chmUnitInfo found;
            if (chm_resolve_object(h, ui->path, &found) != CHM_RESOLVE_SUCCESS || found.start != ui->start)
                w->ok = false;
            w->files.insert(name, bytes);
            return CHM_ENUMERATOR_CONTINUE;
        },
        &walk);
    chm_close(chm);
    if (!walk.ok)
        return std::nullopt;
    return walk.files;
}
#endif

#ifdef FOLVANE_HAVE_MSPACK
// One file found through the directory index (libmspack's fast find) and extracted.
inline std::optional<QByteArray> readWithMspack(const QString& file, const QByteArray& name) {
    mschm_decompressor* d = mspack_create_chm_decompressor(nullptr);
    if (d == nullptr)
        return std::nullopt;
    std::optional<QByteArray> result;
    const QByteArray path = QFile::encodeName(file);
    if (mschmd_header* chm = d->fast_open(d, path.constData())) {
        mschmd_file entry;
        if (d->fast_find(d, chm, name.constData(), &entry, sizeof entry) == MSPACK_ERR_OK && entry.section != nullptr) {
            const QByteArray out = QFile::encodeName(
                QDir::tempPath() + QStringLiteral("/folvane-mspack-%1.out").arg(QCoreApplication::applicationPid()));
            if (d->extract(d, &entry, out.constData()) == MSPACK_ERR_OK) {
                QFile extracted(QFile::decodeName(out));
                if (extracted.open(QIODevice::ReadOnly))
                    result = extracted.readAll();
            }
            QFile::remove(QFile::decodeName(out));
        }
        d->close(d, chm);
    }
    mspack_destroy_chm_decompressor(d);
    return result;
}
#endif

inline QString sevenZip() {
    return QStandardPaths::findExecutable(QStringLiteral("7z"));
}

// Extracts the whole help file with 7-Zip into folder; false when 7-Zip reports an error.
inline bool extractWithSevenZip(const QString& file, const QString& folder) {
    QProcess process;
    process.start(sevenZip(), {QStringLiteral("x"), QStringLiteral("-y"), QStringLiteral("-o") + folder, file});
    return process.waitForFinished(120000) && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
}

// The records of #SYSTEM: code and data.
inline QMap<int, QByteArray> systemRecords(const QByteArray& system) {
    QMap<int, QByteArray> records;
    qsizetype at = 4;
    while (at + 4 <= system.size()) {
        const int code = static_cast<unsigned char>(system[at]) | static_cast<unsigned char>(system[at + 1]) << 8;
        const int length = static_cast<unsigned char>(system[at + 2]) | static_cast<unsigned char>(system[at + 3]) << 8;
        records.insert(code, system.mid(at + 4, length));
        at += 4 + length;
    }
    return records;
}

} // namespace folvane::test
