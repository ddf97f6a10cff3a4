#include "gui/WidestEntryDelegate.h"

#include "toc/ListBox.h"

#include <QFontMetrics>

namespace folvane {

WidestEntryDelegate::WidestEntryDelegate(const ListBox& list, QAbstractItemModel* model, QObject* parent)
    : QStyledItemDelegate(parent), list_(list) {
    const auto remeasure = [this] { widest_ = -1; };
    connect(model, &QAbstractItemModel::modelReset, this, remeasure);
    connect(model, &QAbstractItemModel::rowsRemoved, this, remeasure);
    connect(model, &QAbstractItemModel::rowsInserted, this,
            [this](const QModelIndex&, int first, int last) { measure(first, last); });
    connect(model, &QAbstractItemModel::dataChanged, this,
            [this](const QModelIndex& first, const QModelIndex& last) { measure(first.row(), last.row()); });
}

void WidestEntryDelegate::measure(int first, int last) const {
    if (widest_ < 0)
        return;
    const QFontMetrics metrics(font_);
    const QList<ListEntry>& entries = list_.entries();
    for (int i = qMax(first, 0); i <= last && i < entries.size(); ++i)
        widest_ = qMax(widest_, metrics.horizontalAdvance(entries[i].text));
}

QSize WidestEntryDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const {
    QSize size = QStyledItemDelegate::sizeHint(option, index);
    if (widest_ < 0 || option.font != font_) {
        font_ = option.font;
        widest_ = 0;
        measure(0, list_.count() - 1);
    }
    // The text's own width plus what the style adds around it in this row.
    const int around = size.width() - QFontMetrics(font_).horizontalAdvance(index.data().toString());
    size.setWidth(qMax(size.width(), widest_ + around));
    return size;
}

} // namespace folvane
