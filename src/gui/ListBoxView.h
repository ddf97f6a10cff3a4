#pragma once

#include <QListView>

namespace folvane {

class ListBox;
class ListBoxModel;

// A list control over a ListBox: selection and current position are kept in step both
// ways, keys and mouse events are handed to the form in its own terms (key codes 46
// Delete, 9 Tab, 65 A; button 1 left, 2 right; shift mask 1 Shift, 2 Ctrl, 4 Alt).
class ListBoxView : public QListView {
    Q_OBJECT
public:
    explicit ListBoxView(ListBox& list, QWidget* parent = nullptr);

    ListBox& list() const;

    // Tab and Shift+Tab go to the key handler instead of moving the focus.
    void setTabKeysToHandler(bool on) { tabToHandler_ = on; }
    void setAcceptsFileDrops(bool on);
    // Rows as wide as the widest entry, scrolled sideways instead of cut with "…".
    void showWholeEntries();

signals:
    // The form's events, in the form's terms. A key handler sets the code to 0 to take the
    // key; without one connected, keys work as Qt's list view makes them.
    void keyDown(int& keyCode, int shift);
    void keyPress(int& keyAscii);
    void mouseDown(int button, int shift);
    void mouseMove(int button, int shift);
    void mouseUp(int button, int shift);
    void entryClicked();
    void entryDoubleClicked();
    void filesDropped(const QStringList& paths);

protected:
    bool event(QEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;
    void dragEnterEvent(QDragEnterEvent* e) override;
    void dragMoveEvent(QDragMoveEvent* e) override;
    void dropEvent(QDropEvent* e) override;
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
    void selectionChanged(const QItemSelection& selected, const QItemSelection& deselected) override;

private:
    void pullSelection();
    void pullSelection(int first, int last, bool whole = false);
    void pullCurrent();
    bool handleKey(QKeyEvent* e);

    bool syncing_ = false;
    bool tabToHandler_ = false;
    bool rightPressOnEntry_ = false;
    int savedScroll_ = 0;
    // Last: creating the model sends this view an event, which reads the flags above.
    ListBoxModel* model_;
};

} // namespace folvane
