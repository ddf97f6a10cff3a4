#include "gui/ListBoxView.h"

#include "gui/KeyTranslation.h"
#include "gui/ListBoxModel.h"
#include "gui/WidestEntryDelegate.h"
#include "host/KeyCodes.h"
#include "toc/ListBox.h"

#include <QDir>
#include <QDragEnterEvent>
#include <QMetaMethod>
#include <QMimeData>
#include <QScrollBar>

#include <utility>

namespace folvane {

namespace {
QStringList localPaths(const QMimeData* data) {
    QStringList paths;
    if (!data || !data->hasUrls())
        return paths;
    for (const QUrl& url : data->urls())
        if (url.isLocalFile())
            paths.append(QDir::toNativeSeparators(url.toLocalFile()));
    return paths;
}
} // namespace

ListBoxView::ListBoxView(ListBox& list, QWidget* parent) : QListView(parent), model_(new ListBoxModel(list, this)) {
    setModel(model_);
    setUniformItemSizes(true);
    setEditTriggers(NoEditTriggers);
    setDragEnabled(false);
    setTabKeyNavigation(false);
    setSelectionMode(list.selectionMode() == ListBox::Selection::Single ? SingleSelection : ExtendedSelection);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setVisible(list.isVisible());

    connect(model_, &QAbstractItemModel::modelAboutToBeReset, this,
            [this] { savedScroll_ = verticalScrollBar()->value(); });
    connect(model_, &QAbstractItemModel::modelReset, this, [this] {
        pullSelection();
        pullCurrent();
        verticalScrollBar()->setValue(savedScroll_);
    });
    connect(&list, &ListBox::entriesChanged, this, [this](int first, int last) { pullSelection(first, last); });
    connect(&list, &ListBox::rowsInserted, this, [this] { pullSelection(); });
    connect(&list, &ListBox::rowsRemoved, this, [this] { pullSelection(); });
    connect(&list, &ListBox::currentChanged, this, [this] { pullCurrent(); });
    connect(&list, &ListBox::visibleChanged, this, &QWidget::setVisible);
    pullSelection();
    pullCurrent();
}

ListBox& ListBoxView::list() const {
    return model_->list();
}

void ListBoxView::setAcceptsFileDrops(bool on) {
    setAcceptDrops(on);
    viewport()->setAcceptDrops(on);
    setDropIndicatorShown(false);
}

void ListBoxView::showWholeEntries() {
    setItemDelegate(new WidestEntryDelegate(list(), model_, this));
    setHorizontalScrollMode(ScrollPerPixel);
}

void ListBoxView::pullSelection() {
    pullSelection(0, model_->rowCount() - 1, true);
}

void ListBoxView::pullSelection(int first, int last, bool whole) {
    if (syncing_ || !selectionModel())
        return;
    syncing_ = true;
    QItemSelection selection;
    const ListBox& l = list();
    const int rows = model_->rowCount();
    last = qMin(last, rows - 1);
    if (l.hasSelectionFlags()) {
        const QList<ListEntry>& entries = l.entries();
        for (int i = qMax(first, 0); i <= last && i < entries.size(); ++i) {
            if (!entries[i].selected)
                continue;
            int end = i;
            while (end + 1 <= last && end + 1 < entries.size() && entries[end + 1].selected)
                ++end;
            selection.select(model_->index(i), model_->index(end));
            i = end;
        }
    }
    if (whole) {
        selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect);
    } else if (first <= last) {
        selectionModel()->select(QItemSelection(model_->index(first), model_->index(last)),
                                 QItemSelectionModel::Deselect);
        selectionModel()->select(selection, QItemSelectionModel::Select);
    }
    syncing_ = false;
}

void ListBoxView::pullCurrent() {
    if (syncing_ || !selectionModel())
        return;
    syncing_ = true;
    const int current = list().listIndex();
    selectionModel()->setCurrentIndex(current >= 0 ? model_->index(current) : QModelIndex(),
                                      QItemSelectionModel::NoUpdate);
    syncing_ = false;
}

void ListBoxView::selectionChanged(const QItemSelection& selected, const QItemSelection& deselected) {
    QListView::selectionChanged(selected, deselected);
    ListBox& l = list();
    if (syncing_ || !l.hasSelectionFlags())
        return;
    syncing_ = true;
    {
        ListBox::Batch update(l);
        for (const QModelIndex& index : deselected.indexes())
            if (l.isValidIndex(index.row()))
                l.setSelected(index.row(), false);
        for (const QModelIndex& index : selected.indexes())
            if (l.isValidIndex(index.row()))
                l.setSelected(index.row(), true);
    }
    syncing_ = false;
}

void ListBoxView::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
    QListView::currentChanged(current, previous);
    ListBox& l = list();
    if (syncing_ || !current.isValid() || !l.isValidIndex(current.row()))
        return;
    syncing_ = true;
    l.setListIndex(current.row());
    syncing_ = false;
}

bool ListBoxView::handleKey(QKeyEvent* e) {
    int code = formKeyCode(e);
    if (code == 0 || !isSignalConnected(QMetaMethod::fromSignal(&ListBoxView::keyDown)))
        return false;
    int shift = formShiftMask(e->modifiers());
    if (e->key() == Qt::Key_Backtab)
        shift |= ShiftMask::Shift;
    emit keyDown(code, shift);
    if (code == 0) {
        e->accept();
        return true;
    }
    return false;
}

bool ListBoxView::event(QEvent* e) {
    if (tabToHandler_ && e->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(e);
        const bool backwards = key->key() == Qt::Key_Backtab;
        if (key->key() == Qt::Key_Tab || backwards) {
            // Ctrl+Tab and Ctrl+Shift+Tab leave the list, where Tab and Shift+Tab indent.
            if (key->modifiers().testFlag(Qt::ControlModifier)) {
                focusNextPrevChild(!backwards && !key->modifiers().testFlag(Qt::ShiftModifier));
                return true;
            }
            handleKey(key);
            int ascii = KeyCode::Tab;
            emit keyPress(ascii);
            return true;
        }
    }
    return QListView::event(e);
}

void ListBoxView::keyPressEvent(QKeyEvent* e) {
    if (handleKey(e))
        return;
    const int before = list().listIndex();
    QListView::keyPressEvent(e);
    if (list().listIndex() != before)
        emit entryClicked();
}

void ListBoxView::mousePressEvent(QMouseEvent* e) {
    const int shift = formShiftMask(e->modifiers());
    if (e->button() == Qt::RightButton) {
        // A right click acts on the entry under the pointer: it becomes the current one, and
        // the selection moves to it unless it is part of the selection already.
        const QModelIndex index = indexAt(e->position().toPoint());
        rightPressOnEntry_ = index.isValid();
        if (rightPressOnEntry_)
            selectionModel()->setCurrentIndex(index, selectionModel()->isSelected(index)
                                                         ? QItemSelectionModel::NoUpdate
                                                         : QItemSelectionModel::ClearAndSelect);
        e->accept();
        if (rightPressOnEntry_)
            emit mouseDown(MouseButton::Right, shift);
        return;
    }
    QListView::mousePressEvent(e);
    emit mouseDown(formButtonMask(e->button()), shift);
}

void ListBoxView::mouseMoveEvent(QMouseEvent* e) {
    if (e->buttons().testFlag(Qt::RightButton))
        return;
    QListView::mouseMoveEvent(e);
    emit mouseMove(formButtonMask(e->buttons()), formShiftMask(e->modifiers()));
}

void ListBoxView::mouseReleaseEvent(QMouseEvent* e) {
    const int shift = formShiftMask(e->modifiers());
    if (e->button() == Qt::RightButton) {
        // Pointing at no entry renames nothing.
        if (std::exchange(rightPressOnEntry_, false))
            emit mouseUp(MouseButton::Right, shift);
        return;
    }
    QListView::mouseReleaseEvent(e);
    emit mouseUp(formButtonMask(e->button()), shift);
    if (e->button() == Qt::LeftButton && indexAt(e->position().toPoint()).isValid())
        emit entryClicked();
}

void ListBoxView::mouseDoubleClickEvent(QMouseEvent* e) {
    if (e->button() != Qt::LeftButton)
        return;
    QListView::mouseDoubleClickEvent(e);
    if (indexAt(e->position().toPoint()).isValid())
        emit entryDoubleClicked();
}

void ListBoxView::dragEnterEvent(QDragEnterEvent* e) {
    if (acceptDrops() && !localPaths(e->mimeData()).isEmpty())
        e->acceptProposedAction();
    else
        e->ignore();
}

void ListBoxView::dragMoveEvent(QDragMoveEvent* e) {
    if (acceptDrops() && !localPaths(e->mimeData()).isEmpty())
        e->acceptProposedAction();
    else
        e->ignore();
}

void ListBoxView::dropEvent(QDropEvent* e) {
    const QStringList paths = localPaths(e->mimeData());
    if (paths.isEmpty() || !acceptDrops()) {
        e->ignore();
        return;
    }
    e->acceptProposedAction();
    emit filesDropped(paths);
}

} // namespace folvane
