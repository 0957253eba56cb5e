#include "results/saving.h"

#include <QSaveFile>

#include "platform/failure.h"

namespace results {

QString CollapseDoubledSeparators(const QString& path) {
    QString result;
    result.reserve(path.size());
    for (qsizetype i = 0; i < path.size(); ++i) {
        result += path[i];
        if (path[i] == u'/' && i + 1 < path.size() && path[i + 1] == u'/') ++i;
    }
    return result;
}

QString ResultsFilePath(const QString& folder) {
    return CollapseDoubledSeparators(folder + QStringLiteral("/results.txt"));
}

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
