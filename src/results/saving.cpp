#include "results/saving.h"

#include <QSaveFile>

#include "platform/failure.h"

namespace results {

void WriteTextFile(const QByteArray& text, const QString& path) {
    QSaveFile file(path);
    // Unbuffered, so that every byte is written here, where a failure is seen:
    // a rest left in the buffer would be written out by the commit, which does
    // not notice when that fails and puts a cut-off file in place of the old one.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        throw platform::Failure(QStringLiteral("Cannot write ") + path + QStringLiteral(": ") +
                                file.errorString());
    // A full disk takes part of the text first; the write of the rest then
    // fails and says why.
    for (qint64 written = 0; written < text.size();) {
        const qint64 wrote = file.write(text.constData() + written, text.size() - written);
        if (wrote <= 0) {
            const QString reason = file.errorString();
            file.cancelWriting();
            throw platform::Failure(QStringLiteral("Cannot write ") + path + QStringLiteral(": ") +
                                    reason);
        }
        written += wrote;
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
