#include "cli/output.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>

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

}  // namespace

std::unique_ptr<ByteSink> openFileOutput(const QString& path) {
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

RowWriter::RowWriter(ByteSink& sink, Format format, Part part, bool crlf)
    : sink_(sink), csv_(format == Format::Csv), lineEnd_(crlf ? "\r\n" : "\n") {
    buffer_.reserve(kWriteSize);
    if (csv_) {
        append(part == Part::Full ? "first,last" : "name");
        append(lineEnd_);
    }
}

void RowWriter::addUtf8Row(std::initializer_list<std::string_view> pieces) {
    if (!csv_) {
        for (const std::string_view piece : pieces) append(piece);
    } else {
        // A full name is {first, " ", last}: two fields.
        field_.clear();
        appendCsvField(field_, *pieces.begin());
        if (pieces.size() == 3) {
            field_ += ',';
            appendCsvField(field_, pieces.begin()[2]);
        }
        append(field_);
    }
    append(lineEnd_);
}

void RowWriter::append(std::string_view bytes) {
    if (buffer_.size() + bytes.size() > kWriteSize) flush();
    buffer_.append(bytes);
}

void RowWriter::flush() {
    sink_.write(buffer_);
    buffer_.clear();
}

void RowWriter::finish() {
    flush();
    sink_.finish();
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

}  // namespace cli
