#pragma once

#include "registry/RegistryBackend.h"

#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace folvane {

// A registry tree held in memory: the backend of tests and of the batch tool, and the
// working copy of the file-backed hive.
class MemoryRegistryBackend : public RegistryBackend {
public:
    struct Value {
        QString name;
        // The text of a string value, or the right-hand side of a value of another type
        // read from a .reg file, kept verbatim so that rewriting the file does not lose it.
        QString data;
        bool isString = true;
    };
    // Subkeys stay sorted by name without regard to letter case, as the registry lists them.
    struct Key {
        QString name;
        std::vector<Value> values;
        std::vector<Key> subKeys;
    };

    const Key& root() const { return root_; }
    void setRoot(Key root) { root_ = std::move(root); }
    // Key path parts, or nothing when a part is empty or holds a control character.
    static std::optional<QStringList> splitPath(const QString& keyPath);
    // Sets a value of any kind on an existing key; a value of the same name is replaced.
    qint32 setValue(const QString& keyPath, Value value);

    qint32 openKeyForRead(const QString& keyPath) override;
    qint32 queryString(const QString& keyPath, const QString& valueName, QString& value) override;
    qint32 createKey(const QString& keyPath) override;
    qint32 setString(const QString& keyPath, const QString& valueName, const QString& value) override;
    qint32 enumSubKey(const QString& keyPath, int index, QString& name) override;
    qint32 deleteKey(const QString& parentPath, const QString& subKey) override;

private:
    // Finds an existing key; nullptr with the reason in code when there is none.
    Key* find(const QString& keyPath, qint32& code);

    Key root_;
};

} // namespace folvane
