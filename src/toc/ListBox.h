#pragma once

#include <QList>
#include <QObject>
#include <QString>

namespace folvane {

// The most entries any list may hold (positions are signed 16-bit).
inline constexpr int kListCapacity = 32767;

struct ListEntry {
    QString text;
    qint32 itemData = 0;
    bool selected = false;

    friend bool operator==(const ListEntry&, const ListEntry&) = default;
};

// One list model for every list-like control: the file list, both TOC lists and the
// home-page combo box. Reads and writes out of range throw RuntimeError, so a command
// that lost a race with an event handled in between fails cleanly instead of crashing.
//
// Views listen to the signals. Work that touches many entries runs inside one Batch,
// which the view sees as one reset: that is how "hide the list while it changes" looks.
class ListBox : public QObject {
    Q_OBJECT
public:
    enum class Selection {
        Single,   // at most one entry selected; selecting one makes it current
        Extended, // any set of entries
        None,     // a combo box's list: no selection flags at all
    };

    explicit ListBox(Selection mode = Selection::Extended, QObject* parent = nullptr);

    Selection selectionMode() const { return mode_; }
    bool hasSelectionFlags() const { return mode_ != Selection::None; }

    int count() const { return static_cast<int>(entries_.size()); }
    bool isValidIndex(int i) const { return i >= 0 && i < count(); }
    QString text(int i) const;
    void setText(int i, const QString& text);
    qint32 itemData(int i) const;
    void setItemData(int i, qint32 value);
    bool selected(int i) const;
    void setSelected(int i, bool selected);
    int selectedCount() const;

    // Inserts at pos (pos == count or -1 appends). Throws when the list is full.
    void addItem(const QString& text, int pos = -1);
    void removeItem(int i);
    void clear();

    // Current position, -1 when there is none.
    int listIndex() const { return current_; }
    void setListIndex(int i);

    bool isVisible() const { return visible_; }
    void setVisible(bool visible);

    const QList<ListEntry>& entries() const { return entries_; }
    // Replaces every entry; throws (changing nothing) when there are too many.
    void setEntries(QList<ListEntry> entries);
    // Removes every selected entry in one pass; returns how many went.
    int removeSelected();
    // Exchanges text, link and selection flag of two positions; the current position
    // follows its entry.
    void swapEntries(int a, int b);
    void selectAll();

    // Throws RuntimeError(ListFull) when `extra` more entries would not fit.
    void ensureRoom(int extra) const;

    // Groups changes into one notification for the views: entriesChanged over the
    // touched range, or wasReset when entries were added or removed.
    class Batch {
    public:
        explicit Batch(ListBox& list);
        ~Batch();
        Batch(const Batch&) = delete;
        Batch& operator=(const Batch&) = delete;

    private:
        ListBox& list_;
    };

signals:
    // Many entries changed at once (a batch, a clear, a copy): re-read everything.
    void wasReset();
    void rowsAboutToBeInserted(int first, int last);
    void rowsInserted();
    void rowsAboutToBeRemoved(int first, int last);
    void rowsRemoved();
    void entriesChanged(int first, int last);
    void currentChanged(int index);
    void visibleChanged(bool visible);
    // A text, a link or the order changed: what a save writes, not the selection.
    void edited();

private:
    void check(int i) const;
    void checkSelectable() const;
    void changed(int first, int last);
    void structureChanged();
    bool batching() const { return batchDepth_ > 0; }
    void finishBatch();

    Selection mode_;
    QList<ListEntry> entries_;
    int current_ = -1;
    bool visible_ = true;
    int batchDepth_ = 0;
    bool batchStructural_ = false;
    int dirtyFirst_ = -1;
    int dirtyLast_ = -1;
};

// Depth of a TOC line: its leading U+0020 characters. A tab is part of the title.
int lineDepth(const QString& text);

} // namespace folvane
