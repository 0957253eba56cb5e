#pragma once

#include <map>
#include <memory>
#include <string>
#include <string_view>

#include <QString>

struct lxw_workbook;
struct lxw_worksheet;

namespace platform {

// The rows of a worksheet.
inline constexpr int kWorksheetRows = 1048576;

// A workbook file of one sheet: the rows go out in order as they come, so a
// million of them keep memory small. Every operation throws platform::Failure
// when it cannot be done; the file is complete only once close() has returned.
class Workbook {
public:
    virtual ~Workbook() = default;
    // Row and column count from 1; text in UTF-8; empty text leaves the cell empty.
    virtual void setCell(int row, int column, std::string_view text) = 0;
    // Fits the width of every column to its contents.
    virtual void fitColumns() = 0;
    virtual void close() = 0;
};

// A workbook written at `path`, by the workbook writer linked into this
// program or else by the one in the program's module (platform/program_module.h).
std::unique_ptr<Workbook> openWorkbook(const QString& path);

// The workbook writer, on libxlsxwriter (library qf_workbook).
class XlsxWorkbook : public Workbook {
public:
    explicit XlsxWorkbook(const QString& path);
    ~XlsxWorkbook() override;
    XlsxWorkbook(const XlsxWorkbook&) = delete;
    XlsxWorkbook& operator=(const XlsxWorkbook&) = delete;

    void setCell(int row, int column, std::string_view text) override;
    void fitColumns() override;
    void close() override;

private:
    void checkRowsWritten(bool flush) const;

    lxw_workbook* workbook_ = nullptr;
    lxw_worksheet* sheet_ = nullptr;
    std::string cell_;
    std::map<int, int> widest_;  // column -> longest text in characters
};

}  // namespace platform
