#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include <QAbstractListModel>
#include <QByteArray>
#include <QString>

#include "platform/failure.h"
#include "results/text_buffer.h"

namespace results {

// The results list: one name text per row, in the order added. The rows live
// in one UTF-8 buffer with the end of each row beside it, so a million rows
// cost a few bytes each and the view never holds an object per row.
//
// Rows are added without telling the view; publish() tells it once about all
// rows added since (no event loop runs while a run fills the list).
class ResultList : public QAbstractListModel {
    Q_OBJECT
public:
    using QAbstractListModel::QAbstractListModel;

    void setHeader(const QString& text);
    QString header() const { return header_; }

    // Every row held, shown or not yet published.
    int count() const { return static_cast<int>(ends_.size()); }
    // Row `position` from 0.
    std::string_view utf8(int position) const;
    QString text(int position) const;

    // Removes every row and tells the view at once.
    void clear();
    // Room for this many more rows: a hint that never fails.
    void reserve(int rows);
    // Adds one row made of the UTF-8 pieces joined together.
    void addUtf8Row(std::initializer_list<std::string_view> pieces) {
        for (std::string_view piece : pieces) text_.append(piece);
        endRow();
    }
    // Tells the view about the rows added since the last clear or publish.
    void publish();

    // Every row followed by CR LF, as UTF-8.
    QByteArray linesWithCrLf() const;

    // Rows `first` to `last`, both included, counted from 0.
    struct RowRange {
        int first;
        int last;
    };
    // The rows of the ranges in list order, one per line ("\n" between rows,
    // none after the last); ranges may come in any order and overlap.
    QString lines(std::vector<RowRange> ranges) const;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

private:
    void endRow() {
        if (text_.size() > kMaxTextBytes) throw platform::Failure(QStringLiteral("Out of memory"));
        ends_.push_back(static_cast<std::uint32_t>(text_.size()));
    }
    static constexpr std::size_t kMaxTextBytes = 0xFFFFFFFFu;

    QString header_;
    TextBuffer text_;
    std::vector<std::uint32_t> ends_;  // end offset of each row in text_
    int shown_ = 0;
};

}  // namespace results
