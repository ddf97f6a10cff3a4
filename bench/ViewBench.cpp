#include "ViewBench.h"

#include "NullHost.h"
#include "Timing.h"
#include "app/FmCHM.h"
#include "gui/ListBoxView.h"
#include "gui/MainWindow.h"
#include "toc/ListBox.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPushButton>
#include <QTextStream>

namespace folvane {

namespace {

void press(QWidget* widget, int key, Qt::KeyboardModifiers modifiers = {}) {
    QKeyEvent down(QEvent::KeyPress, key, modifiers);
    QApplication::sendEvent(widget, &down);
    QKeyEvent up(QEvent::KeyRelease, key, modifiers);
    QApplication::sendEvent(widget, &up);
}

int selectedCount(const ListBox& list) {
    int count = 0;
    for (int i = 0; i < list.count(); ++i)
        count += list.selected(i) ? 1 : 0;
    return count;
}

} // namespace

void benchListView(QTextStream& out) {
    NullHost host;
    FmCHM form(host);
    MainWindow window(form, host);
    window.show();
    ListBoxView* toc = window.tocList(1);
    auto* moveDown = window.findChild<QPushButton*>(QStringLiteral("Com3"));
    QList<ListEntry> entries;
    entries.reserve(kListCapacity);
    for (int i = 0; i < kListCapacity; ++i)
        entries.append(ListEntry{QStringLiteral("Page %1").arg(i), i, false});
    const auto selectAll = [&] {
        form.LB().setEntries(entries);
        toc->setFocus();
        press(toc, Qt::Key_A, Qt::ControlModifier);
    };

    const double indentMs = bestOfThreeMs(selectAll, [&] { press(toc, Qt::Key_Tab); });
    const bool indented = form.LB().text(0) == QStringLiteral(" Page 0") && selectedCount(form.LB()) == kListCapacity;
    reportFigure(out, "Contents view, select all then Tab", kListCapacity, indentMs, 50, indented);

    const double moveMs = bestOfThreeMs(selectAll, [&] { moveDown->click(); });
    reportFigure(out, "Contents view, select all then move down", kListCapacity, moveMs, 50,
                 moveDown != nullptr && selectedCount(form.LB()) == kListCapacity);
}

} // namespace folvane
