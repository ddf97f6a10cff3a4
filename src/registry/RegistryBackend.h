#pragma once

#include <QString>
#include <QtGlobal>

namespace folvane {

// Result codes of registry calls, with Windows' numbers so that every backend reports
// the same codes and Reg::RegLastError() can carry them unchanged.
namespace RegCode {
inline constexpr qint32 Success = 0;
inline constexpr qint32 FileNotFound = 2;
inline constexpr qint32 AccessDenied = 5;
inline constexpr qint32 InvalidParameter = 87;
inline constexpr qint32 BadPathName = 161;
inline constexpr qint32 MoreData = 234;
inline constexpr qint32 NoMoreItems = 259;
inline constexpr qint32 RegistryIoFailed = 1016;
inline constexpr qint32 UnsupportedType = 1630;
// Not a Windows code: the helpers' own answer to an empty key path or subkey name.
inline constexpr qint32 EmptyKeyPath = -1002;
} // namespace RegCode

// The registry calls the helpers need, all below the classes root. Key paths use "\"
// between their parts and have no leading backslash; the empty path is the root itself.
// Key and value names compare without regard to letter case. The empty value name is
// the key's default value.
class RegistryBackend {
public:
    virtual ~RegistryBackend() = default;

    // Success when the key exists and can be read.
    virtual qint32 openKeyForRead(const QString& keyPath) = 0;
    // Reads a string value; FileNotFound when the key or the value is missing,
    // UnsupportedType when the value holds something else than text.
    virtual qint32 queryString(const QString& keyPath, const QString& valueName, QString& value) = 0;
    // Opens the key, creating it and every missing parent.
    virtual qint32 createKey(const QString& keyPath) = 0;
    // Sets a string value of an existing key.
    virtual qint32 setString(const QString& keyPath, const QString& valueName, const QString& value) = 0;
    // The name of the subkey at a 0-based index; NoMoreItems past the last one.
    virtual qint32 enumSubKey(const QString& keyPath, int index, QString& name) = 0;
    // Deletes parentPath\subKey, which must have no subkeys of its own.
    virtual qint32 deleteKey(const QString& parentPath, const QString& subKey) = 0;
};

} // namespace folvane
