#include "results/result_list.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <new>

#include "generate/name_text.h"
#include "platform/failure.h"

namespace results {

namespace {
constexpr std::size_t kUsualRowBytes = 16;
}  // namespace

void ResultList::setHeader(const QString& text) {
    header_ = text;
    emit headerDataChanged(Qt::Horizontal, 0, 0);
}

std::string_view ResultList::utf8(int position) const {
    const std::uint32_t begin = position == 0 ? 0 : ends_[position - 1];
    return text_.view().substr(begin, ends_[position] - begin);
}

QString ResultList::text(int position) const {
    const std::string_view row = utf8(position);
    return QString::fromUtf8(row.data(), static_cast<qsizetype>(row.size()));
}

void ResultList::keepParts(std::size_t leadingBytes, bool blank, bool familyFirst) {
    if (leadingBytes >= kLengthBits) return;  // endRow notes none
    if (parts_.empty()) {
        // The rows before the first one with parts have none.
        parts_.reserve(ends_.capacity());
        parts_.assign(ends_.size(), kNoParts);
    }
    parts_.push_back(static_cast<Parts>((leadingBytes + 1) | (blank ? kBlankBetween : 0) |
                                        (familyFirst ? kFamilyFirst : 0)));
}

ResultList::TwoCells ResultList::twoCells(int position) const {
    const std::string_view row = utf8(position);
    const Parts parts =
        static_cast<std::size_t>(position) < parts_.size() ? parts_[position] : kNoParts;
    if (parts == kNoParts) {
        const generate::TwoWords words = generate::splitTwoWords(row);
        return {words.first, words.second, words.hasSecond};
    }
    const std::size_t leading = (parts & kLengthBits) - 1u;
    const std::string_view a = row.substr(0, leading);
    const std::string_view b = row.substr(leading + ((parts & kBlankBetween) ? 1 : 0));
    const std::string_view given = (parts & kFamilyFirst) ? b : a;
    const std::string_view family = (parts & kFamilyFirst) ? a : b;
    return {given, family, !family.empty()};
}

void ResultList::clear() {
    beginResetModel();
    text_.clear();
    ends_ = std::vector<std::uint32_t>();
    parts_ = std::vector<Parts>();
    shown_ = 0;
    endResetModel();
}

void ResultList::reserve(int rows) {
    if (rows <= 0) return;
    // Room for names of usual length; memory that stays unused is never touched.
    // Only a hint: without the room, rows are added all the same.
    try {
        ends_.reserve(ends_.size() + static_cast<std::size_t>(rows));
        text_.reserve(text_.size() + static_cast<std::size_t>(rows) * kUsualRowBytes);
    } catch (const std::bad_alloc&) {
    }
}

void ResultList::publish() {
    if (shown_ == count()) return;
    beginResetModel();
    shown_ = count();
    endResetModel();
}

QByteArray ResultList::linesWithCrLf() const {
    QByteArray lines(static_cast<qsizetype>(text_.size() + 2 * ends_.size()), Qt::Uninitialized);
    char* out = lines.data();
    std::uint32_t begin = 0;
    for (const std::uint32_t end : ends_) {
        if (end > begin) std::memcpy(out, text_.data() + begin, end - begin);
        out += end - begin;
        *out++ = '\r';
        *out++ = '\n';
        begin = end;
    }
    return lines;
}

QString ResultList::lines(std::vector<RowRange> ranges) const {
    // Merged into disjoint ranges in list order, then copied straight from the
    // buffer into one piece of UTF-8 and converted once.
    std::sort(ranges.begin(), ranges.end(),
              [](const RowRange& a, const RowRange& b) { return a.first < b.first; });
    std::vector<RowRange> merged;
    for (RowRange range : ranges) {
        range.first = std::max(range.first, 0);
        range.last = std::min(range.last, count() - 1);
        if (range.first > range.last) continue;
        if (!merged.empty() && range.first <= merged.back().last + 1)
            merged.back().last = std::max(merged.back().last, range.last);
        else
            merged.push_back(range);
    }
    std::size_t bytes = 0;
    for (const RowRange& range : merged) {
        const std::uint32_t begin = range.first == 0 ? 0 : ends_[range.first - 1];
        bytes += ends_[range.last] - begin + static_cast<std::size_t>(range.last - range.first + 1);
    }
    QByteArray text(static_cast<qsizetype>(bytes), Qt::Uninitialized);
    char* out = text.data();
    for (const RowRange& range : merged) {
        std::uint32_t begin = range.first == 0 ? 0 : ends_[range.first - 1];
        for (int row = range.first; row <= range.last; ++row) {
            const std::uint32_t end = ends_[row];
            if (end > begin) std::memcpy(out, text_.data() + begin, end - begin);
            out += end - begin;
            *out++ = '\n';
            begin = end;
        }
    }
    if (!text.isEmpty()) text.chop(1);  // no line end after the last row
    return QString::fromUtf8(text);
}

int ResultList::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : shown_;
}

QVariant ResultList::data(const QModelIndex& index, int role) const {
    if (role != Qt::DisplayRole || !index.isValid() || index.row() >= shown_) return {};
    return text(index.row());
}

QVariant ResultList::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role == Qt::DisplayRole && orientation == Qt::Horizontal && section == 0) return header_;
    return {};
}

}  // namespace results
