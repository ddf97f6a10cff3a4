#include "registry/WinRegistryBackend_win.h"

#include "registry/WinRegistryCalls_win.h"

#include <string>

namespace folvane {

qint32 WinRegistryBackend::openKeyForRead(const QString& keyPath) {
    return static_cast<qint32>(WinRegistryCalls::openKeyForRead(keyPath.toStdWString()));
}

qint32 WinRegistryBackend::queryString(const QString& keyPath, const QString& valueName, QString& value) {
    std::wstring text;
    const long result = WinRegistryCalls::queryString(keyPath.toStdWString(), valueName.toStdWString(), text);
    if (result == 0)
        value = QString::fromStdWString(text);
    return static_cast<qint32>(result);
}

qint32 WinRegistryBackend::createKey(const QString& keyPath) {
    return static_cast<qint32>(WinRegistryCalls::createKey(keyPath.toStdWString()));
}

qint32 WinRegistryBackend::setString(const QString& keyPath, const QString& valueName, const QString& value) {
    return static_cast<qint32>(
        WinRegistryCalls::setString(keyPath.toStdWString(), valueName.toStdWString(), value.toStdWString()));
}

qint32 WinRegistryBackend::enumSubKey(const QString& keyPath, int index, QString& name) {
    if (index < 0)
        return RegCode::NoMoreItems;
    std::wstring text;
    const long result = WinRegistryCalls::enumSubKey(keyPath.toStdWString(), static_cast<unsigned long>(index), text);
    if (result == 0)
        name = QString::fromStdWString(text);
    return static_cast<qint32>(result);
}

qint32 WinRegistryBackend::deleteKey(const QString& parentPath, const QString& subKey) {
    return static_cast<qint32>(WinRegistryCalls::deleteKey(parentPath.toStdWString(), subKey.toStdWString()));
}

} // namespace folvane
