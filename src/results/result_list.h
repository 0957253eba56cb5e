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
    // Adds a full name of two parts, `leading` then `trailing` with a blank
    // between when `blank`, and keeps where they part: `familyFirst` says the
    // family name leads. Rows added otherwise have no parts.
    void addNameRow(std::string_view leading, std::string_view trailing, bool blank,
                    bool familyFirst) {
        text_.append(leading);
        if (blank) text_.append(" ");
        text_.append(trailing);
        keepParts(leading.size(), blank, familyFirst);
        endRow();
    }
    // The row as "Excel (2 cells)" takes it: a full name added with its parts
    // gives its given name, then its family name, each whole; any other row
    // its first two words (generate::splitTwoWords). No second cell for an
    // empty family name or a row without a blank.
    struct TwoCells {
        std::string_view first;
        std::string_view second;
        bool hasSecond = false;
    };
    TwoCells twoCells(int position) const;

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
        // Once a row has parts, every row has an entry (0 for none).
        if (!parts_.empty() && parts_.size() < ends_.size()) parts_.push_back(kNoParts);
    }
    void keepParts(std::size_t leadingBytes, bool blank, bool familyFirst);
    static constexpr std::size_t kMaxTextBytes = 0xFFFFFFFFu;

    // Per row, where its two parts meet: the leading part's length in bytes
    // plus one in the low bits, a blank between them, and whether the family
    // name leads. Empty until the first row with parts, so rows without parts
    // cost nothing; a leading part too long to note leaves the row without.
    using Parts = std::uint16_t;
    static constexpr Parts kNoParts = 0;
    static constexpr Parts kBlankBetween = 0x4000;
    static constexpr Parts kFamilyFirst = 0x8000;
    static constexpr Parts kLengthBits = 0x3FFF;
    std::vector<Parts> parts_;

    QString header_;
    TextBuffer text_;
    std::vector<std::uint32_t> ends_;  // end offset of each row in text_
    int shown_ = 0;
};

}  // namespace results
