#include "widgets/failure_box.h"

namespace widgets {

void showFailureReport(platform::Dialogs& dialogs, const QString& description, const QString& tag,
                       int line) {
    dialogs.messageBox(guarded::failureMessage(description, tag, line),
                       platform::MessageStyle::Warning, QLatin1String(kReportTitle));
}

void FailureBox::report(const QString& description, const QString& tag, int line) {
    showFailureReport(dialogs_, description, tag, line);
}

void FailureBox::reportUnguarded(const QString& description, const QString& tag) {
    dialogs_.messageBox(description + QStringLiteral("\r\nin ") + tag,
                        platform::MessageStyle::Warning, QLatin1String(kReportTitle));
}

}  // namespace widgets
