#include "cli/output.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include <QFile>

#include "generate/name_text.h"
#include "platform/failure.h"
#include "platform/files.h"

namespace cli {

namespace {

// Large enough that writes are few, small enough to stay in the cache.
constexpr std::size_t kWriteSize = 128 * 1024;

// The text file, written as results.txt is.
class SafeFileOutput : public ByteSink {
public:
    explicit SafeFileOutput(const QString& path) : file_(path) {}
    void write(std::string_view bytes) override {
        file_.write(bytes.data(), static_cast<qint64>(bytes.size()));
    }
    void finish() override { file_.commit(); }

private:
    platform::WholeFileWriter file_;
};

// True when `path` leads to what standard output already writes to: the
// same file, pipe or terminal.
bool isStandardOutput(const QString& path) {
    struct stat output {};
    struct stat target {};
    return ::fstat(STDOUT_FILENO, &output) == 0 &&
           ::stat(QFile::encodeName(path).constData(), &target) == 0 &&
           output.st_dev == target.st_dev && output.st_ino == target.st_ino;
}

}  // namespace

std::unique_ptr<ByteSink> openOutput(const QString& path) {
    if (path.isEmpty() || isStandardOutput(path)) return std::make_unique<StandardOutput>();
    return std::make_unique<SafeFileOutput>(path);
}

void StandardOutput::write(std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t wrote = ::write(STDOUT_FILENO, bytes.data(), bytes.size());
        if (wrote < 0 && errno == EINTR) continue;
        if (wrote < 0 && errno == EPIPE) throw ReaderGone{};
        if (wrote <= 0)
            throw platform::Failure(QStringLiteral("cannot write to standard output: ") +
                                    QString::fromLocal8Bit(std::strerror(errno)));
        bytes.remove_prefix(static_cast<std::size_t>(wrote));
    }
}

void appendCsvField(std::string& out, std::string_view field) {
    if (field.find_first_of(",\"\r\n") == std::string_view::npos) {
        out.append(field);
        return;
    }
    out += '"';
    for (const char c : field) {
        if (c == '"') out += '"';
        out += c;
    }
    out += '"';
}

LineWriter::LineWriter(const OutputOptions& options)
    : sink_(openOutput(options.path)), lineEnd_(options.crlf ? "\r\n" : "\n") {
    buffer_.reserve(kWriteSize);
}

void LineWriter::append(std::string_view bytes) {
    if (buffer_.size() + bytes.size() > kWriteSize) flush();
    buffer_.append(bytes);
}

void LineWriter::flush() {
    sink_->write(buffer_);
    buffer_.clear();
}

void LineWriter::finish() {
    flush();
    sink_->finish();
}

void TextWriter::addUtf8Row(std::initializer_list<std::string_view> pieces) {
    for (const std::string_view piece : pieces) append(piece);
    endLine();
}

CsvWriter::CsvWriter(const OutputOptions& options) : LineWriter(options) {
    append(options.part == Part::Full ? "first,last" : "name");
    endLine();
}

void CsvWriter::addUtf8Row(std::initializer_list<std::string_view> pieces) {
    // A full name is {first, " ", last}: two fields.
    field_.clear();
    appendCsvField(field_, *pieces.begin());
    if (pieces.size() == 3) {
        field_ += ',';
        appendCsvField(field_, pieces.begin()[2]);
    }
    append(field_);
    endLine();
}

WorkbookWriter::WorkbookWriter(const QString& path)
    : file_(path), workbook_(std::make_unique<platform::XlsxWorkbook>(file_.buildingPath())) {}

void WorkbookWriter::addUtf8Row(std::initializer_list<std::string_view> pieces) {
    row_.clear();
    for (const std::string_view piece : pieces) row_.append(piece);
    const generate::TwoWords words = generate::splitTwoWords(row_);
    ++rows_;
    describingFailures([&] {
        workbook_->setCell(rows_, 1, words.first);
        if (words.hasSecond) workbook_->setCell(rows_, 2, words.second);
    });
}

void WorkbookWriter::finish() {
    describingFailures([&] {
        workbook_->fitColumns();
        workbook_->close();
    });
    file_.commit();
}

template <class Steps>
void WorkbookWriter::describingFailures(Steps&& steps) {
    try {
        steps();
    } catch (const platform::Failure& failure) {
        throw file_.failure(failure.description());
    }
}

void XlsxWriter::check(const OutputOptions& options) {
    if (options.path.isEmpty())
        throw UsageError(
            QStringLiteral("--format xlsx writes a workbook file: give it with -o FILE"));
    if (options.rows > platform::kWorksheetRows)
        throw UsageError(QStringLiteral("a worksheet holds at most ") +
                         grouped(platform::kWorksheetRows) + QStringLiteral(" rows"));
    if (options.crlf)
        throw UsageError(QStringLiteral("--crlf does not apply to xlsx, which has no lines"));
}

}  // namespace cli
