#pragma once

#include "registry/MemoryRegistryBackend.h"
#include "registry/RegistryBackend.h"

#include <QString>

namespace folvane {

// The classes root kept in a .reg text file, where the system has no registry. The file
// is read before every call and written atomically after every change, so the file is
// the only state and two running copies of the program see each other's changes.
// A file that is not .reg text at all is renamed aside (name.damaged-<time>) and a fresh
// hive starts; a file that cannot be read or moved aside makes every call fail instead.
class HiveRegistryBackend : public RegistryBackend {
public:
    explicit HiveRegistryBackend(QString filePath);

    // folvane/classes_root.reg in the user's generic data folder (~/.local/share).
    static QString defaultFilePath();
    const QString& filePath() const { return filePath_; }
    // Where a damaged file was moved to; empty when none was.
    const QString& setAsidePath() const { return setAsidePath_; }

    qint32 openKeyForRead(const QString& keyPath) override;
    qint32 queryString(const QString& keyPath, const QString& valueName, QString& value) override;
    qint32 createKey(const QString& keyPath) override;
    qint32 setString(const QString& keyPath, const QString& valueName, const QString& value) override;
    qint32 enumSubKey(const QString& keyPath, int index, QString& name) override;
    qint32 deleteKey(const QString& parentPath, const QString& subKey) override;

private:
    qint32 load();
    qint32 setAside();
    qint32 save();
    template <typename Change> qint32 change(Change apply);

    QString filePath_;
    QString setAsidePath_;
    MemoryRegistryBackend tree_;
};

} // namespace folvane
