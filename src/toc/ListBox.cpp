#include "toc/ListBox.h"

#include "util/RuntimeError.h"

#include <QCoreApplication>

#include <algorithm>
#include <utility>

namespace folvane {

namespace {
RuntimeError indexError() {
    return RuntimeError(RuntimeError::ListIndex, QStringLiteral("无效的属性数组索引"));
}

bool sameContent(const QList<ListEntry>& a, const QList<ListEntry>& b) {
    return std::equal(a.cbegin(), a.cend(), b.cbegin(), b.cend(), [](const ListEntry& x, const ListEntry& y) {
        return x.itemData == y.itemData && x.text == y.text;
    });
}
} // namespace

ListBox::ListBox(Selection mode, QObject* parent) : QObject(parent), mode_(mode) {}

void ListBox::check(int i) const {
    if (!isValidIndex(i))
        throw indexError();
}

void ListBox::checkSelectable() const {
    if (mode_ == Selection::None)
        throw RuntimeError(RuntimeError::InvalidArgument, QStringLiteral("对象不支持选择"));
}

void ListBox::changed(int first, int last) {
    if (first > last)
        return;
    if (!batching()) {
        emit entriesChanged(first, last);
        return;
    }
    dirtyFirst_ = dirtyFirst_ < 0 ? first : qMin(dirtyFirst_, first);
    dirtyLast_ = qMax(dirtyLast_, last);
}

void ListBox::structureChanged() {
    if (batching())
        batchStructural_ = true;
    else
        emit wasReset();
}

void ListBox::finishBatch() {
    if (batchStructural_)
        emit wasReset();
    else if (dirtyFirst_ >= 0)
        emit entriesChanged(dirtyFirst_, qMin(dirtyLast_, count() - 1));
    batchStructural_ = false;
    dirtyFirst_ = dirtyLast_ = -1;
    emit currentChanged(current_);
}

QString ListBox::text(int i) const {
    check(i);
    return entries_[i].text;
}

void ListBox::setText(int i, const QString& text) {
    check(i);
    if (entries_[i].text == text)
        return;
    entries_[i].text = text;
    changed(i, i);
    emit edited();
}

qint32 ListBox::itemData(int i) const {
    check(i);
    return entries_[i].itemData;
}

void ListBox::setItemData(int i, qint32 value) {
    check(i);
    if (entries_[i].itemData == value)
        return;
    entries_[i].itemData = value;
    changed(i, i);
    emit edited();
}

bool ListBox::selected(int i) const {
    checkSelectable();
    check(i);
    return entries_[i].selected;
}

void ListBox::setSelected(int i, bool selected) {
    checkSelectable();
    check(i);
    if (mode_ == Selection::Single && selected) {
        for (int k = 0; k < count(); ++k) {
            if (k != i && entries_[k].selected) {
                entries_[k].selected = false;
                changed(k, k);
            }
        }
        entries_[i].selected = true;
        changed(i, i);
        setListIndex(i);
        return;
    }
    entries_[i].selected = selected;
    changed(i, i);
}

int ListBox::selectedCount() const {
    int n = 0;
    for (const ListEntry& e : entries_)
        n += e.selected ? 1 : 0;
    return n;
}

void ListBox::ensureRoom(int extra) const {
    if (extra > 0 && count() > kListCapacity - extra)
        throw RuntimeError(RuntimeError::ListFull, QStringLiteral("列表已满：最多只能容纳 %1 项。").arg(kListCapacity));
}

void ListBox::addItem(const QString& text, int pos) {
    if (pos == -1)
        pos = count();
    if (pos < 0 || pos > count())
        throw indexError();
    ensureRoom(1);
    if (!batching())
        emit rowsAboutToBeInserted(pos, pos);
    entries_.insert(pos, ListEntry{text, 0, false});
    if (current_ >= pos)
        ++current_;
    if (batching())
        batchStructural_ = true;
    else
        emit rowsInserted();
    emit edited();
}

void ListBox::removeItem(int i) {
    check(i);
    if (!batching())
        emit rowsAboutToBeRemoved(i, i);
    entries_.removeAt(i);
    if (current_ == i)
        current_ = -1;
    else if (current_ > i)
        --current_;
    if (batching())
        batchStructural_ = true;
    else
        emit rowsRemoved();
    emit edited();
}

void ListBox::clear() {
    Batch batch(*this);
    const bool hadEntries = !entries_.isEmpty();
    entries_.clear();
    current_ = -1;
    structureChanged();
    if (hadEntries)
        emit edited();
}

void ListBox::setListIndex(int i) {
    if (i < -1 || i >= count())
        throw indexError();
    if (current_ == i)
        return;
    current_ = i;
    if (mode_ == Selection::Single && i >= 0 && !entries_[i].selected) {
        for (ListEntry& e : entries_)
            e.selected = false;
        entries_[i].selected = true;
        changed(0, count() - 1);
    }
    if (!batching())
        emit currentChanged(current_);
}

void ListBox::setVisible(bool visible) {
    if (visible_ == visible)
        return;
    visible_ = visible;
    emit visibleChanged(visible_);
}

void ListBox::setEntries(QList<ListEntry> entries) {
    if (entries.size() > kListCapacity)
        throw RuntimeError(RuntimeError::ListFull, QStringLiteral("列表已满：最多只能容纳 %1 项。").arg(kListCapacity));
    Batch batch(*this);
    const bool same = sameContent(entries_, entries);
    entries_ = std::move(entries);
    structureChanged();
    if (!same)
        emit edited();
    if (mode_ == Selection::None) {
        for (ListEntry& e : entries_)
            e.selected = false;
    } else if (mode_ == Selection::Single) {
        bool seen = false;
        for (auto it = entries_.rbegin(); it != entries_.rend(); ++it) {
            if (it->selected && seen)
                it->selected = false;
            seen = seen || it->selected;
        }
    }
    current_ = -1;
}

int ListBox::removeSelected() {
    Batch batch(*this);
    const auto before = entries_.size();
    int newCurrent = current_;
    qsizetype kept = 0;
    for (qsizetype i = 0; i < entries_.size(); ++i) {
        if (entries_[i].selected) {
            if (current_ == i)
                newCurrent = -1;
            continue;
        }
        if (current_ == i)
            newCurrent = static_cast<int>(kept);
        if (kept != i)
            entries_[kept] = std::move(entries_[i]);
        ++kept;
    }
    entries_.resize(kept);
    current_ = newCurrent;
    if (kept != before) {
        structureChanged();
        emit edited();
    }
    return static_cast<int>(before - kept);
}

void ListBox::swapEntries(int a, int b) {
    check(a);
    check(b);
    std::swap(entries_[a], entries_[b]);
    changed(qMin(a, b), qMax(a, b));
    if (entries_[a].text != entries_[b].text || entries_[a].itemData != entries_[b].itemData)
        emit edited();
    // The current position goes with its entry, as the selection does: a rename right
    // after a move must find the moved entry.
    if (current_ == a || current_ == b) {
        current_ = current_ == a ? b : a;
        if (!batching())
            emit currentChanged(current_);
    }
}

void ListBox::selectAll() {
    checkSelectable();
    if (mode_ == Selection::Single)
        return;
    Batch batch(*this);
    for (ListEntry& e : entries_)
        e.selected = true;
    changed(0, count() - 1);
}

ListBox::Batch::Batch(ListBox& list) : list_(list) {
    ++list_.batchDepth_;
}

ListBox::Batch::~Batch() {
    if (--list_.batchDepth_ == 0)
        list_.finishBatch();
}

int lineDepth(const QString& text) {
    int n = 0;
    while (n < text.size() && text[n] == QLatin1Char(' '))
        ++n;
    return n;
}

} // namespace folvane
