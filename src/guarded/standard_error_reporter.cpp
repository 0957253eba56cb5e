#include "guarded/standard_error_reporter.h"

#include <QRegularExpression>

namespace guarded {

QString StandardErrorReporter::lineFor(const QString& description) {
    static const QRegularExpression lineBreak(QStringLiteral("\r\n|\r|\n"));
    return QStringLiteral("quillfern: ") +
           QString(description).replace(lineBreak, QStringLiteral(" "));
}

void StandardErrorReporter::report(const QString& description, const QString&, int) {
    stream_ << lineFor(description).toStdString() << std::endl;
}

void StandardErrorReporter::reportUnguarded(const QString& description, const QString&) {
    stream_ << lineFor(description).toStdString() << std::endl;
}

}  // namespace guarded
