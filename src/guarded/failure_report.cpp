#include "guarded/failure_report.h"

namespace guarded {

QString locationTag(const char* object, const char* procedure) {
    return QStringLiteral("Tolvarine2021/08/31.") + QLatin1String(object) + QLatin1Char('.') +
           QLatin1String(procedure);
}

QString failureMessage(const QString& description, const QString& tag, int line) {
    return description + QStringLiteral("\r\n") + QStringLiteral("in ") + tag + QLatin1Char(' ') +
           QStringLiteral("at line ") + QString::number(line) + QStringLiteral("\r\r") +
           QStringLiteral("Please email screenshot of this message to ") +
           QLatin1String(kSupportAddress);
}

QString currentFailureDescription() {
    try {
        throw;
    } catch (const platform::Failure& failure) {
        return failure.description();
    } catch (const std::bad_alloc&) {
        return QStringLiteral("Out of memory");
    } catch (const std::exception& failure) {
        return QString::fromLocal8Bit(failure.what());
    } catch (...) {
        return QStringLiteral("Unknown failure");
    }
}

void Procedure::reportCurrent(int number) {
    const QString description = currentFailureDescription();
    if (reported_.emplace(number, description).second) reporter_.report(description, tag_, number);
}

}  // namespace guarded
