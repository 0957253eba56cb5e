#include "platform/workbook.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>

#include <QFile>

#include <xlsxwriter.h>

#include "platform/failure.h"

namespace platform {

namespace {

constexpr int kMaxColumns = 16384;

QString describe(lxw_error error) {
    return QString::fromUtf8(lxw_strerror(error));
}

int characterCount(std::string_view utf8) {
    return static_cast<int>(std::count_if(utf8.begin(), utf8.end(), [](char byte) {
        return (static_cast<unsigned char>(byte) & 0xC0) != 0x80;
    }));
}

}  // namespace

XlsxWorkbook::XlsxWorkbook(const QString& path) {
    const QByteArray name = QFile::encodeName(path);
    lxw_workbook_options options{};
    options.constant_memory = LXW_TRUE;
    options.use_zip64 = LXW_TRUE;
    workbook_ = workbook_new_opt(name.constData(), &options);
    if (workbook_) sheet_ = workbook_add_worksheet(workbook_, nullptr);
    if (!sheet_) {
        if (workbook_) workbook_close(workbook_);
        throw Failure(QStringLiteral("Cannot create a new workbook"));
    }
}

XlsxWorkbook::~XlsxWorkbook() {
    if (workbook_) workbook_close(workbook_);
}

void XlsxWorkbook::setCell(int row, int column, std::string_view text) {
    if (!sheet_) throw Failure(QStringLiteral("No workbook is open"));
    if (row < 1 || row > kWorksheetRows || column < 1 || column > kMaxColumns)
        throw Failure(QStringLiteral("Subscript out of range"));
    if (text.empty()) return;
    cell_.assign(text);
    const lxw_error error =
        worksheet_write_string(sheet_, static_cast<lxw_row_t>(row - 1),
                               static_cast<lxw_col_t>(column - 1), cell_.c_str(), nullptr);
    if (error != LXW_NO_ERROR) throw Failure(describe(error));
    checkRowsWritten(false);
    int& widest = widest_[column];
    widest = std::max(widest, characterCount(text));
}

void XlsxWorkbook::fitColumns() {
    if (!sheet_) throw Failure(QStringLiteral("No workbook is open"));
    for (const auto& [column, characters] : widest_) {
        // Column widths count characters of the default font; names run a
        // little wider than digits, so leave room of two characters.
        const double width = std::min(255.0, characters + 2.0);
        const lxw_col_t index = static_cast<lxw_col_t>(column - 1);
        const lxw_error error = worksheet_set_column(sheet_, index, index, width, nullptr);
        if (error != LXW_NO_ERROR) throw Failure(describe(error));
    }
}

void XlsxWorkbook::checkRowsWritten(bool flush) const {
    // Finished rows go to a temporary file whose write errors the library
    // does not report: a full disk would leave a workbook without its last rows.
    FILE* rows = sheet_->optimize_tmpfile;
    if (rows && ((flush && std::fflush(rows) != 0) || std::ferror(rows)))
        throw Failure(QStringLiteral("Cannot write the workbook's rows to a temporary file: ") +
                      QString::fromLocal8Bit(std::strerror(errno)));
}

void XlsxWorkbook::close() {
    if (!workbook_) throw Failure(QStringLiteral("No workbook is open"));
    checkRowsWritten(true);
    const lxw_error error = workbook_close(workbook_);
    workbook_ = nullptr;
    sheet_ = nullptr;
    if (error != LXW_NO_ERROR)
        throw Failure(QStringLiteral("Cannot write the workbook: ") + describe(error));
}

}  // namespace platform

// What openWorkbook calls: linked into the program, or found in its module.
extern "C" __attribute__((visibility("default"))) platform::Workbook* quillfernOpenWorkbook(
    const QString& path) {
    return new platform::XlsxWorkbook(path);
}
