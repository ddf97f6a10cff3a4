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

int WidestEntryDelegate::textWidth(const QString& text) const {
    const QFontMetrics metrics(font_);
    int width = 0;
    for (const QChar c : text) {
        quint16& advance = advances_[c.unicode()];
        if (advance == 0) {
            // Half a surrogate pair has no advance of its own: count the pair as one wide glyph.
            const int measured = c.isSurrogate() ? metrics.maxWidth() / 2 : metrics.horizontalAdvance(c);
            advance = static_cast<quint16>(qBound(1, measured, 0xFFFF));
        }
        width += advance;
    }
    return width;
}

void WidestEntryDelegate::measure(int first, int last) const {
    if (widest_ < 0)
        return;
    const QList<ListEntry>& entries = list_.entries();
    for (int i = qMax(first, 0); i <= last && i < entries.size(); ++i)
        widest_ = qMax(widest_, textWidth(entries[i].text));
}

QSize WidestEntryDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const {
    QSize size = QStyledItemDelegate::sizeHint(option, index);
    if (option.font != font_ || advances_.empty()) {
        font_ = option.font;
        advances_.assign(0x10000, 0);
        widest_ = -1;
    }
    if (widest_ < 0) {
        widest_ = 0;
        measure(0, list_.count() - 1);
    }
    // What the style adds around the text in this row, and a character's room for kerning
    // and shaping, which the summed advances leave out.
    const QFontMetrics metrics(font_);
    const int around = size.width() - metrics.horizontalAdvance(index.data().toString());
    size.setWidth(qMax(size.width(), widest_ + around + metrics.averageCharWidth()));
    return size;
}

} // namespace folvane
