#include "results/saving.h"

#include "platform/files.h"

namespace results {

void WriteTextFile(const QByteArray& text, const QString& path) {
    platform::writeFileWhole(text, path);
}

QString completionMessage(const QString& path) {
    return QStringLiteral("Done.\r\r") + path + QStringLiteral("\r\n\r\nwas created.");
}

TwoWords splitTwoWords(std::string_view row) {
    const std::size_t blank = row.find(' ');
    if (blank == std::string_view::npos) return {row, {}, false};
    const std::string_view rest = row.substr(blank + 1);
    return {row.substr(0, blank), rest.substr(0, rest.find(' ')), true};
}

}  // namespace results
