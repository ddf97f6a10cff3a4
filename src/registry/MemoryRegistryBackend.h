#pragma once

#include "registry/RegistryBackend.h"

#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace folvane {

// A registry tree held in memory: the registry of tests, of the batch tool and of Linux,
// where the compile command registers with the desktop instead.
class MemoryRegistryBackend : public RegistryBackend {
public:
    qint32 openKeyForRead(const QString& keyPath) override;
    qint32 queryString(const QString& keyPath, const QString& valueName, QString& value) override;
    qint32 createKey(const QString& keyPath) override;
    qint32 setString(const QString& keyPath, const QString& valueName, const QString& value) override;
    qint32 enumSubKey(const QString& keyPath, int index, QString& name) override;
    qint32 deleteKey(const QString& parentPath, const QString& subKey) override;

    struct Value {
        QString name;
        QString data;
    };
    // Subkeys stay sorted by name without regard to letter case, as the registry lists them.
    struct Key {
        QString name;
        std::vector<Value> values;
        std::vector<Key> subKeys;
    };

private:
    // Key path parts, or nothing when a part is empty or holds a control character.
    static std::optional<QStringList> splitPath(const QString& keyPath);
    // Finds an existing key; nullptr with the reason in code when there is none.
    Key* find(const QString& keyPath, qint32& code);

    Key root_;
};

} // namespace folvane
