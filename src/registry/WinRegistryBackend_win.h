#pragma once

#include "registry/RegistryBackend.h"

namespace folvane {

// The real classes root of Windows.
class WinRegistryBackend : public RegistryBackend {
public:
    qint32 openKeyForRead(const QString& keyPath) override;
    qint32 queryString(const QString& keyPath, const QString& valueName, QString& value) override;
    qint32 createKey(const QString& keyPath) override;
    qint32 setString(const QString& keyPath, const QString& valueName, const QString& value) override;
    qint32 enumSubKey(const QString& keyPath, int index, QString& name) override;
    qint32 deleteKey(const QString& parentPath, const QString& subKey) override;
};

} // namespace folvane
