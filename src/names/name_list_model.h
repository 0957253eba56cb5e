#pragma once

#include <QAbstractListModel>
#include <QString>
#include <QStringList>

namespace names {

// The entries of one name list view: one column, no keys, entries in the order
// added. Each entry remembers the stored name it was shown from, which may
// differ from its text by more than letter case ("ılgaz" is shown as "Ilgaz").
class NameListModel : public QAbstractListModel {
    Q_OBJECT
public:
    using QAbstractListModel::QAbstractListModel;

    void setHeader(const QString& text);
    QString header() const { return header_; }

    int count() const { return static_cast<int>(entries_.size()); }
    // 0-based position.
    const QString& text(int position) const { return entries_.at(position); }
    const QStringList& entries() const { return entries_; }
    // The stored name an entry was shown from; its own text when added without one.
    const QString& storedName(int position) const { return stored_.at(position); }
    // The stored names of all entries, position by position.
    const QStringList& storedNames() const { return stored_; }

    void clear();
    void add(const QString& entry);
    void addAll(const QStringList& entries);
    // Entries with the stored names they were shown from, position by position.
    void addAll(const QStringList& entries, const QStringList& storedNames);
    void removeAt(int position);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

private:
    QString header_;
    QStringList entries_;
    QStringList stored_;  // shares its text with entries_ where both are the same
};

}  // namespace names
