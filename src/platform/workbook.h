#pragma once

#include <map>
#include <string>
#include <string_view>

#include <QString>

struct lxw_workbook;
struct lxw_worksheet;

namespace platform {

// The rows of a worksheet.
inline constexpr int kWorksheetRows = 1048576;

// A workbook file of one sheet, written at `path`: the rows go out in order
// as they come, so a million of them keep memory small. Every operation
// throws platform::Failure when it cannot be done; the file is complete only
// once close() has returned.
class XlsxWorkbook {
public:
    explicit XlsxWorkbook(const QString& path);
    ~XlsxWorkbook();
    XlsxWorkbook(const XlsxWorkbook&) = delete;
    XlsxWorkbook& operator=(const XlsxWorkbook&) = delete;

    // Row and column count from 1; text in UTF-8; empty text leaves the cell empty.
    void setCell(int row, int column, std::string_view text);
    // Fits the width of every column to its contents.
    void fitColumns();
    void close();

private:
    void checkRowsWritten(bool flush) const;

    lxw_workbook* workbook_ = nullptr;
    lxw_worksheet* sheet_ = nullptr;
    std::string cell_;
    std::map<int, int> widest_;  // column -> longest text in characters
};

}  // namespace platform
