#include "cli/output.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include <QFile>

#include "platform/failure.h"
#include "platform/files.h"

namespace cli {

namespace {

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

std::string_view sexWord(generate::Sex sex) {
    switch (sex) {
        case generate::Sex::Female:
            return "female";
        case generate::Sex::Male:
            return "male";
        case generate::Sex::Unisex:
            break;
    }
    return "unisex";
}

namespace {

// Room for the longest usual row past the write size, so that the buffer
// grows only for an unusually long one.
constexpr std::size_t kRowRoom = 64 * 1024;

// The row's name in the part asked for: the full name in its origin's order.
void appendName(generate::RowBuffer& out, const PersonRow& row, Part part) {
    switch (part) {
        case Part::Full:
            generate::appendFull(out, row.person);
            return;
        case Part::First:
            out.append(row.person.first);
            return;
        case Part::Last:
            break;
    }
    out.append(row.person.last);
}

}  // namespace

LineWriter::LineWriter(const OutputOptions& options)
    : sink_(openOutput(options.path)),
      lineEnd_(options.crlf ? "\r\n" : "\n"),
      part_(options.part),
      buffer_(kWriteSize + kRowRoom) {}

void LineWriter::flush() {
    sink_->write(buffer_.text());
    buffer_.clear();
}

void LineWriter::finish() {
    flush();
    sink_->finish();
}

void TextWriter::add(const PersonRow& row) {
    appendName(out(), row, part());
    endLine();
}

CsvWriter::CsvWriter(const OutputOptions& options) : LineWriter(options) {
    out().append(options.part == Part::Full ? "first,last,sex,origin" : "name,sex,origin");
    endLine();
}

void CsvWriter::add(const PersonRow& row) {
    generate::RowBuffer& line = out();
    if (part() != Part::Last) appendCsvField(line, row.person.first);
    if (part() == Part::Full) line.push_back(',');
    if (part() != Part::First) appendCsvField(line, row.person.last);
    line.push_back(',');
    if (row.hasOrigin()) line.append(sexWord(row.person.sex));
    line.push_back(',');
    appendCsvField(line, row.origin);
    endLine();
}

void JsonLinesWriter::appendRecord(const PersonRow& row) {
    generate::RowBuffer& line = out();
    const auto field = [&](std::string_view name) {
        line.append(name);
        line.append(": ");
    };
    line.push_back('{');
    if (part() != Part::Last) {
        field("\"first\"");
        appendJsonString(line, row.person.first);
        line.append(", ");
    }
    if (part() != Part::First) {
        field("\"last\"");
        appendJsonString(line, row.person.last);
        line.append(", ");
    }
    if (part() == Part::Full) {
        field("\"full\"");
        const generate::Person& person = row.person;
        const bool familyFirst = person.order == generate::NameOrder::FamilyFirst;
        line.push_back('"');
        appendJsonEscaped(line, familyFirst ? person.last : person.first);
        if (person.blankBetween) line.push_back(' ');
        appendJsonEscaped(line, familyFirst ? person.first : person.last);
        line.append("\", ");
    }
    field("\"sex\"");
    if (row.hasOrigin()) {
        line.push_back('"');
        line.append(sexWord(row.person.sex));
        line.push_back('"');
    } else {
        line.append("null");
    }
    line.append(", ");
    field("\"origin\"");
    if (row.hasOrigin())
        appendJsonString(line, row.origin);
    else
        line.append("null");
    if (row.invented) line.append(", \"invented\": true");
    line.push_back('}');
}

void JsonLinesWriter::add(const PersonRow& row) {
    appendRecord(row);
    endLine();
}

JsonWriter::JsonWriter(const OutputOptions& options) : JsonLinesWriter(options) {
    out().push_back('[');
}

void JsonWriter::add(const PersonRow& row) {
    // "[" or "," ends the line before each object.
    if (!first_) out().push_back(',');
    first_ = false;
    endLine();
    appendRecord(row);
}

void JsonWriter::finish() {
    endLine();
    out().push_back(']');
    endLine();
    JsonLinesWriter::finish();
}

WorkbookWriter::WorkbookWriter(const QString& path, Part part)
    : file_(path), workbook_(platform::openWorkbook(file_.buildingPath())), part_(part) {}

void WorkbookWriter::add(const PersonRow& row) {
    ++rows_;
    describingFailures([&] {
        workbook_->setCell(rows_, 1, part_ == Part::Last ? row.person.last : row.person.first);
        if (part_ == Part::Full) workbook_->setCell(rows_, 2, row.person.last);
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
