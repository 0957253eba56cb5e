#include "results/saving.h"

#include <QSaveFile>

#include "platform/failure.h"

namespace results {

void WriteTextFile(const QByteArray& text, const QString& path) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        throw platform::Failure(QStringLiteral("Cannot write ") + path + QStringLiteral(": ") +
                                file.errorString());
    if (file.write(text) != text.size()) {
        const QString reason = file.errorString();
        file.cancelWriting();
        throw platform::Failure(QStringLiteral("Cannot write ") + path + QStringLiteral(": ") +
                                reason);
    }
    if (!file.commit())
        throw platform::Failure(QStringLiteral("Cannot write ") + path + QStringLiteral(": ") +
                                file.errorString());
}

QString CompletionMessage(const QString& path) {
    return QStringLiteral("Done.\r\r") + path + QStringLiteral("\r\n\r\nwas created.");
}

TwoWords SplitTwoWords(std::string_view row) {
    const std::size_t blank = row.find(' ');
    if (blank == std::string_view::npos) return {row, {}, false};
    const std::string_view rest = row.substr(blank + 1);
    return {row.substr(0, blank), rest.substr(0, rest.find(' ')), true};
}

}  // namespace results
