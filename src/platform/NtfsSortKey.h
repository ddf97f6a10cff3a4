#pragma once

#include <QString>

namespace folvane {

// A name's place in the order NTFS keeps a folder's names in: each UTF-16 code unit
// upper-cased on its own, then compared by value. Names that differ only in letter case
// (possible on Posix) fall back to their own code units, so the order is total.
class NtfsSortKey {
public:
    explicit NtfsSortKey(QString name);

    const QString& name() const { return name_; }

    friend bool operator<(const NtfsSortKey& a, const NtfsSortKey& b) {
        const int byUpper = QString::compare(a.upper_, b.upper_, Qt::CaseSensitive);
        return byUpper != 0 ? byUpper < 0 : QString::compare(a.name_, b.name_, Qt::CaseSensitive) < 0;
    }

private:
    QString name_;
    QString upper_;
};

} // namespace folvane
