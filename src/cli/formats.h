#pragma once

#include <stdexcept>
#include <tuple>

#include <QString>
#include <QStringList>

#include "cli/output.h"

namespace cli {

// An output format: the word that `--format` takes, and its writer. A writer
// is made from the OutputOptions, takes rows through add(PersonRow) and
// ends with finish(); its static
// check(OutputOptions) refuses what the format cannot write (UsageError).
// The writer is known by its type, so the generation loop calls it directly.
template <class Writer>
struct Format {
    const char* word;
};

// The formats, the default first. A new format is a writer and a line here.
inline constexpr std::tuple kFormats{
    Format<TextWriter>{"text"}, Format<CsvWriter>{"csv"},   Format<JsonLinesWriter>{"jsonl"},
    Format<JsonWriter>{"json"}, Format<XlsxWriter>{"xlsx"},
};

// The words of the formats, in the table's order.
inline QStringList formatWords() {
    return std::apply(
        [](const auto&... format) { return QStringList{QLatin1String(format.word)...}; }, kFormats);
}

// Calls `use` with the format's Format entry; the word must be one of the table's.
template <class Use>
void withFormat(const QString& word, Use&& use) {
    const bool found = std::apply(
        [&](const auto&... format) {
            return ((word == QLatin1String(format.word) && (use(format), true)) || ...);
        },
        kFormats);
    if (!found) throw std::logic_error("no output format " + word.toStdString());
}

// Refuses what the format cannot write; throws UsageError.
inline void checkFormat(const QString& word, const OutputOptions& options) {
    withFormat(word, [&]<class Writer>(const Format<Writer>&) { Writer::check(options); });
}

// Opens the format's writer on the output and hands it to `write`, which
// adds the rows; the writer is finished after it.
template <class Write>
void writeRows(const QString& word, const OutputOptions& options, Write&& write) {
    withFormat(word, [&]<class Writer>(const Format<Writer>&) {
        Writer writer(options);
        write(writer);
        writer.finish();
    });
}

}  // namespace cli
