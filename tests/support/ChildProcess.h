#pragma once

#include <QStringList>

#include <functional>
#include <optional>

namespace folvane::test {

// What a forked child is before it does its work.
enum class ChildSetup {
    // Without root's power to ignore permissions: root becomes "nobody".
    Unprivileged,
    // In a mount namespace of its own, so it can mount small file systems that vanish with it.
    PrivateMounts,
};

// Runs work in a forked child and returns the lines it answered. Nothing when the machine
// does not allow the setup (the caller skips); a child that crashes answers one line
// saying so, which no test expects.
std::optional<QStringList> runInChild(ChildSetup setup, const std::function<QStringList()>& work);

// Mounts a tmpfs of the given size on folder (inside a PrivateMounts child).
bool mountTmpfs(const QString& folder, qint64 bytes);
// Makes the mount on folder read-only.
bool remountReadOnly(const QString& folder);
// Mounts file over target, so that target can be neither replaced nor removed.
bool bindMount(const QString& file, const QString& target);

} // namespace folvane::test
