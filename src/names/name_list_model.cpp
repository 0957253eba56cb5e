#include "names/name_list_model.h"

namespace names {

void NameListModel::setHeader(const QString& text) {
    header_ = text;
    emit headerDataChanged(Qt::Horizontal, 0, 0);
}

void NameListModel::clear() {
    if (entries_.isEmpty()) return;
    beginResetModel();
    entries_.clear();
    stored_.clear();
    endResetModel();
}

void NameListModel::add(const QString& entry) {
    beginInsertRows(QModelIndex(), count(), count());
    entries_.append(entry);
    stored_.append(entry);
    endInsertRows();
}

void NameListModel::addAll(const QStringList& entries) {
    addAll(entries, entries);
}

void NameListModel::addAll(const QStringList& entries, const QStringList& storedNames) {
    Q_ASSERT(entries.size() == storedNames.size());
    if (entries.isEmpty()) return;
    beginInsertRows(QModelIndex(), count(), count() + static_cast<int>(entries.size()) - 1);
    entries_.append(entries);
    stored_.append(storedNames);
    endInsertRows();
}

void NameListModel::removeAt(int position) {
    beginRemoveRows(QModelIndex(), position, position);
    entries_.removeAt(position);
    stored_.removeAt(position);
    endRemoveRows();
}

int NameListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : count();
}

QVariant NameListModel::data(const QModelIndex& index, int role) const {
    if (role != Qt::DisplayRole || !index.isValid() || index.row() >= count()) return {};
    return entries_.at(index.row());
}

QVariant NameListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role == Qt::DisplayRole && orientation == Qt::Horizontal && section == 0) return header_;
    return {};
}

}  // namespace names
