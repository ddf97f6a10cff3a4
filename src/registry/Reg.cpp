#include "registry/Reg.h"

#include "registry/RegistryBackend.h"

namespace folvane {

QString Reg::RegReadValue(const QString& keyPath, const QString& valueName, const QString& defaultValue) {
    lastError_ = RegCode::Success;
    if (keyPath.isEmpty()) {
        lastError_ = RegCode::EmptyKeyPath;
        return {};
    }
    if (record(backend_.openKeyForRead(keyPath)) != RegCode::Success)
        return defaultValue;
    QString text;
    if (record(backend_.queryString(keyPath, valueName, text)) != RegCode::Success)
        return defaultValue;
    return AnsiZToString(text);
}

void Reg::RegWriteValue(const QString& keyPath, const QString& valueName, const QString& value) {
    lastError_ = RegCode::Success;
    if (keyPath.isEmpty()) {
        lastError_ = RegCode::EmptyKeyPath;
        return;
    }
    if (record(backend_.createKey(keyPath)) != RegCode::Success)
        return;
    record(backend_.setString(keyPath, valueName, value));
}

QStringList Reg::RegEnumSubKeys(const QString& keyPath) {
    QStringList names;
    if (record(backend_.openKeyForRead(keyPath)) != RegCode::Success)
        return names;
    for (int index = 0;; ++index) {
        QString name;
        if (record(backend_.enumSubKey(keyPath, index, name)) != RegCode::Success)
            break;
        names.append(AnsiZToString(name));
    }
    return names;
}

void Reg::RegDeleteTree(const QString& parentPath, const QString& subKeyName) {
    if (subKeyName.isEmpty()) {
        lastError_ = RegCode::EmptyKeyPath;
        return;
    }
    const QString keyPath = parentPath.isEmpty() ? subKeyName : parentPath + QLatin1Char('\\') + subKeyName;
    // Every name is collected before anything is deleted: deleting shifts the indexes.
    const QStringList subKeys = RegEnumSubKeys(keyPath);
    for (const QString& name : subKeys)
        RegDeleteTree(keyPath, name);
    record(backend_.deleteKey(parentPath, subKeyName));
}

QString Reg::AnsiZToString(const QString& buffer) {
    const qsizetype nul = buffer.indexOf(QChar(u'\0'));
    return nul < 0 ? buffer : buffer.left(nul);
}

} // namespace folvane
