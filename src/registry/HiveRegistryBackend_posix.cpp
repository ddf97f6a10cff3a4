#include "registry/HiveRegistryBackend_posix.h"

#include "registry/RegFileText.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

namespace folvane {

namespace {

// Far beyond any hive this program writes; a bigger file is not ours to parse.
constexpr qint64 kMaxHiveBytes = 16 * 1024 * 1024;

qint32 codeFor(QFileDevice::FileError error) {
    return error == QFileDevice::PermissionsError ? RegCode::AccessDenied : RegCode::RegistryIoFailed;
}

} // namespace

HiveRegistryBackend::HiveRegistryBackend(QString filePath) : filePath_(std::move(filePath)) {}

QString HiveRegistryBackend::defaultFilePath() {
    QString base = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    if (base.isEmpty())
        base = QDir::homePath() + QStringLiteral("/.local/share");
    return base + QStringLiteral("/folvane/classes_root.reg");
}

qint32 HiveRegistryBackend::load() {
    QFile file(filePath_);
    if (!file.exists()) {
        tree_.setRoot({});
        return RegCode::Success;
    }
    if (file.size() > kMaxHiveBytes)
        return setAside();
    if (!file.open(QIODevice::ReadOnly))
        return codeFor(file.error());
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return codeFor(file.error());
    std::optional<MemoryRegistryBackend::Key> root = RegFileText::parse(bytes);
    if (!root)
        return setAside();
    tree_.setRoot(std::move(*root));
    return RegCode::Success;
}

qint32 HiveRegistryBackend::setAside() {
    const QString stamp = QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    QString target = filePath_ + QStringLiteral(".damaged-") + stamp;
    for (int n = 2; QFileInfo::exists(target); ++n)
        target = filePath_ + QStringLiteral(".damaged-") + stamp + QLatin1Char('-') + QString::number(n);
    QFile file(filePath_);
    if (!file.rename(target))
        return codeFor(file.error());
    setAsidePath_ = target;
    tree_.setRoot({});
    return RegCode::Success;
}

qint32 HiveRegistryBackend::save() {
    if (!QDir().mkpath(QFileInfo(filePath_).absolutePath()))
        return RegCode::RegistryIoFailed;
    QSaveFile file(filePath_);
    if (!file.open(QIODevice::WriteOnly))
        return codeFor(file.error());
    file.write(RegFileText::format(tree_.root()));
    if (!file.commit())
        return codeFor(file.error());
    return RegCode::Success;
}

template <typename Change> qint32 HiveRegistryBackend::change(Change apply) {
    if (const qint32 code = load(); code != RegCode::Success)
        return code;
    const QByteArray before = RegFileText::format(tree_.root());
    if (const qint32 code = apply(); code != RegCode::Success)
        return code;
    if (RegFileText::format(tree_.root()) == before && QFileInfo::exists(filePath_))
        return RegCode::Success;
    return save();
}

qint32 HiveRegistryBackend::openKeyForRead(const QString& keyPath) {
    const qint32 code = load();
    return code != RegCode::Success ? code : tree_.openKeyForRead(keyPath);
}

qint32 HiveRegistryBackend::queryString(const QString& keyPath, const QString& valueName, QString& value) {
    const qint32 code = load();
    return code != RegCode::Success ? code : tree_.queryString(keyPath, valueName, value);
}

qint32 HiveRegistryBackend::createKey(const QString& keyPath) {
    return change([&] { return tree_.createKey(keyPath); });
}

qint32 HiveRegistryBackend::setString(const QString& keyPath, const QString& valueName, const QString& value) {
    return change([&] { return tree_.setString(keyPath, valueName, value); });
}

qint32 HiveRegistryBackend::enumSubKey(const QString& keyPath, int index, QString& name) {
    const qint32 code = load();
    return code != RegCode::Success ? code : tree_.enumSubKey(keyPath, index, name);
}

qint32 HiveRegistryBackend::deleteKey(const QString& parentPath, const QString& subKey) {
    return change([&] { return tree_.deleteKey(parentPath, subKey); });
}

} // namespace folvane
