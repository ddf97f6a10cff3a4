#pragma once

#include <QAbstractListModel>

namespace folvane {

class ListBox;

// Shows a ListBox to Qt views. The row count is cached so a view never reads rows that
// a batch has already removed before the model announced it.
class ListBoxModel : public QAbstractListModel {
    Q_OBJECT
public:
    explicit ListBoxModel(ListBox& list, QObject* parent = nullptr);

    ListBox& list() const { return list_; }
    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

private:
    void reset();
    ListBox& list_;
    int rows_ = 0;
};

} // namespace folvane
