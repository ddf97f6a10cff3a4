#include "gui/DepthIndentDelegate.h"

#include "toc/ListBox.h"

#include <QApplication>
#include <QPainter>

namespace folvane {

int DepthIndentDelegate::levelWidth(const QFontMetrics& metrics) {
    // A CJK character is one em wide.
    return metrics.horizontalAdvance(QChar(0x4E2D)) * 3 / 2;
}

void DepthIndentDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const {
    QStyleOptionViewItem opt = option;
    initStyleOption(&opt, index);
    const int depth = lineDepth(opt.text);
    if (depth == 0) {
        QStyledItemDelegate::paint(painter, option, index);
        return;
    }
    const QStyle* style = opt.widget ? opt.widget->style() : QApplication::style();
    // The row's background and selection span the whole row; only the title moves in.
    style->drawPrimitive(QStyle::PE_PanelItemViewItem, &opt, painter, opt.widget);
    opt.text = opt.text.mid(depth);
    const qint64 indent = qint64(depth) * levelWidth(opt.fontMetrics);
    opt.rect.setLeft(int(qMin<qint64>(opt.rect.left() + indent, opt.rect.right())));
    style->drawControl(QStyle::CE_ItemViewItem, &opt, painter, opt.widget);
}

} // namespace folvane
