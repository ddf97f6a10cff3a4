#include "registry/MemoryRegistryBackend.h"

#include <algorithm>

namespace folvane {

namespace {

bool sameName(const QString& a, const QString& b) {
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

bool hasControlCharacter(const QString& text) {
    return std::any_of(text.cbegin(), text.cend(), [](QChar c) { return c.unicode() < 0x20; });
}

MemoryRegistryBackend::Key* child(MemoryRegistryBackend::Key& key, const QString& name) {
    auto it = std::find_if(key.subKeys.begin(), key.subKeys.end(),
                           [&](const MemoryRegistryBackend::Key& k) { return sameName(k.name, name); });
    return it == key.subKeys.end() ? nullptr : &*it;
}

MemoryRegistryBackend::Key& addChild(MemoryRegistryBackend::Key& key, const QString& name) {
    auto it = std::find_if(key.subKeys.begin(), key.subKeys.end(), [&](const MemoryRegistryBackend::Key& k) {
        return k.name.compare(name, Qt::CaseInsensitive) > 0;
    });
    MemoryRegistryBackend::Key added;
    added.name = name;
    return *key.subKeys.insert(it, std::move(added));
}

QString joinPath(const QString& parent, const QString& sub) {
    return parent.isEmpty() ? sub : parent + QLatin1Char('\\') + sub;
}

} // namespace

std::optional<QStringList> MemoryRegistryBackend::splitPath(const QString& keyPath) {
    if (keyPath.isEmpty())
        return QStringList();
    QStringList parts = keyPath.split(QLatin1Char('\\'));
    for (const QString& part : parts)
        if (part.isEmpty() || hasControlCharacter(part))
            return std::nullopt;
    return parts;
}

MemoryRegistryBackend::Key* MemoryRegistryBackend::find(const QString& keyPath, qint32& code) {
    const std::optional<QStringList> parts = splitPath(keyPath);
    if (!parts) {
        code = RegCode::BadPathName;
        return nullptr;
    }
    Key* key = &root_;
    for (const QString& part : *parts) {
        key = child(*key, part);
        if (!key) {
            code = RegCode::FileNotFound;
            return nullptr;
        }
    }
    code = RegCode::Success;
    return key;
}

qint32 MemoryRegistryBackend::openKeyForRead(const QString& keyPath) {
    qint32 code = RegCode::Success;
    find(keyPath, code);
    return code;
}

qint32 MemoryRegistryBackend::queryString(const QString& keyPath, const QString& valueName, QString& value) {
    qint32 code = RegCode::Success;
    const Key* key = find(keyPath, code);
    if (!key)
        return code;
    for (const Value& v : key->values) {
        if (sameName(v.name, valueName)) {
            value = v.data;
            return RegCode::Success;
        }
    }
    return RegCode::FileNotFound;
}

qint32 MemoryRegistryBackend::createKey(const QString& keyPath) {
    const std::optional<QStringList> parts = splitPath(keyPath);
    if (!parts)
        return RegCode::BadPathName;
    Key* key = &root_;
    for (const QString& part : *parts) {
        Key* next = child(*key, part);
        key = next ? next : &addChild(*key, part);
    }
    return RegCode::Success;
}

qint32 MemoryRegistryBackend::setString(const QString& keyPath, const QString& valueName, const QString& value) {
    // The registry refuses line breaks in names as well.
    if (hasControlCharacter(valueName))
        return RegCode::InvalidParameter;
    qint32 code = RegCode::Success;
    Key* key = find(keyPath, code);
    if (!key)
        return code;
    auto it = std::find_if(key->values.begin(), key->values.end(),
                           [&](const Value& v) { return sameName(v.name, valueName); });
    if (it != key->values.end())
        it->data = value;
    else
        key->values.push_back(Value{valueName, value});
    return RegCode::Success;
}

qint32 MemoryRegistryBackend::enumSubKey(const QString& keyPath, int index, QString& name) {
    qint32 code = RegCode::Success;
    const Key* key = find(keyPath, code);
    if (!key)
        return code;
    if (index < 0 || static_cast<size_t>(index) >= key->subKeys.size())
        return RegCode::NoMoreItems;
    name = key->subKeys[static_cast<size_t>(index)].name;
    return RegCode::Success;
}

qint32 MemoryRegistryBackend::deleteKey(const QString& parentPath, const QString& subKey) {
    if (subKey.isEmpty())
        return RegCode::InvalidParameter;
    const QString fullPath = joinPath(parentPath, subKey);
    const qsizetype cut = fullPath.lastIndexOf(QLatin1Char('\\'));
    qint32 code = RegCode::Success;
    Key* parent = find(cut < 0 ? QString() : fullPath.left(cut), code);
    if (!parent)
        return code;
    const QString name = fullPath.mid(cut + 1);
    if (name.isEmpty() || hasControlCharacter(name))
        return RegCode::BadPathName;
    auto it = std::find_if(parent->subKeys.begin(), parent->subKeys.end(),
                           [&](const Key& k) { return sameName(k.name, name); });
    if (it == parent->subKeys.end())
        return RegCode::FileNotFound;
    if (!it->subKeys.empty())
        return RegCode::AccessDenied;
    parent->subKeys.erase(it);
    return RegCode::Success;
}

} // namespace folvane
