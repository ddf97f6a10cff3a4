#pragma once

#include <QString>
#include <QStringList>
#include <QtGlobal>

namespace folvane {

class RegistryBackend;

// Reads, writes, lists and deletes keys and string values of the classes root by full
// key path. Failures are quiet: reads fall back to the caller's default, writes and
// deletes do not happen, and RegLastError() keeps the code of the last registry call.
class Reg {
public:
    explicit Reg(RegistryBackend& backend) : backend_(backend) {}

    // A string value (the empty name is the default value), or defaultValue when the key
    // or the value is missing or unreadable. An empty key path gives the empty string.
    QString RegReadValue(const QString& keyPath, const QString& valueName, const QString& defaultValue = {});
    // Writes a string value, creating the key and its missing parents.
    void RegWriteValue(const QString& keyPath, const QString& valueName, const QString& value);
    // The names of all subkeys; empty when the key cannot be opened.
    QStringList RegEnumSubKeys(const QString& keyPath);
    // Deletes parentPath\subKeyName with everything below it, deepest keys first.
    void RegDeleteTree(const QString& parentPath, const QString& subKeyName);

    // Text of a returned buffer up to its first NUL.
    static QString AnsiZToString(const QString& buffer);

    qint32 RegLastError() const { return lastError_; }

private:
    qint32 record(qint32 code) {
        lastError_ = code;
        return code;
    }

    RegistryBackend& backend_;
    qint32 lastError_ = 0;
};

} // namespace folvane
