#include "gui/ListBoxModel.h"

#include "toc/ListBox.h"

namespace folvane {

ListBoxModel::ListBoxModel(ListBox& list, QObject* parent)
    : QAbstractListModel(parent), list_(list), rows_(list.count()) {
    connect(&list_, &ListBox::wasReset, this, &ListBoxModel::reset);
    connect(&list_, &ListBox::rowsAboutToBeInserted, this,
            [this](int first, int last) { beginInsertRows(QModelIndex(), first, last); });
    connect(&list_, &ListBox::rowsInserted, this, [this] {
        rows_ = list_.count();
        endInsertRows();
    });
    connect(&list_, &ListBox::rowsAboutToBeRemoved, this,
            [this](int first, int last) { beginRemoveRows(QModelIndex(), first, last); });
    connect(&list_, &ListBox::rowsRemoved, this, [this] {
        rows_ = list_.count();
        endRemoveRows();
    });
    connect(&list_, &ListBox::entriesChanged, this, [this](int first, int last) {
        if (first <= last && last < rows_)
            emit dataChanged(index(first), index(last), {Qt::DisplayRole});
    });
}

void ListBoxModel::reset() {
    beginResetModel();
    rows_ = list_.count();
    endResetModel();
}

int ListBoxModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : rows_;
}

QVariant ListBoxModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || !list_.isValidIndex(index.row()))
        return {};
    if (role == Qt::DisplayRole || role == Qt::EditRole)
        return list_.entries().at(index.row()).text;
    return {};
}

} // namespace folvane
