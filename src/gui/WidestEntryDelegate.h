#pragma once

#include <QStyledItemDelegate>

#include <vector>

namespace folvane {

class ListBox;

// Gives every row of a list with uniform item sizes the width of its widest entry, so long
// entries are shown whole and the view scrolls sideways to them. Entries changed in place
// are measured on their own; the whole list only after rows were removed or reset.
class WidestEntryDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    WidestEntryDelegate(const ListBox& list, QAbstractItemModel* model, QObject* parent);

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

private:
    void measure(int first, int last) const;
    int textWidth(const QString& text) const;

    const ListBox& list_;
    mutable QFont font_;
    mutable int widest_ = -1; // -1: measure everything again
    // Advance of each UTF-16 code unit in font_, 0 until asked: shaping each of 32767 paths
    // would take half a second, adding cached advances a few milliseconds.
    mutable std::vector<quint16> advances_;
};

} // namespace folvane
