#pragma once

#include <QStyledItemDelegate>

namespace folvane {

// Draws a contents entry's depth as a visible indent: each leading space of the text moves
// the title by about one and a half characters, while the text itself keeps its single spaces.
class DepthIndentDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    // Pixels one level of depth takes in a font.
    static int levelWidth(const QFontMetrics& metrics);

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
};

} // namespace folvane
