#pragma once

#include <utility>

#include <QString>

#include "guarded/failure_report.h"
#include "guarded/reporter.h"
#include "platform/dialogs.h"

namespace widgets {

inline constexpr char kReportTitle[] = "Application Error";

// Shows the failure report: warning icon, one OK button, "Application Error".
void showFailureReport(platform::Dialogs& dialogs, const QString& description, const QString& tag,
                       int line);

// The windows' reporter: the failure report in a message box.
class FailureBox : public guarded::Reporter {
public:
    explicit FailureBox(platform::Dialogs& dialogs) : dialogs_(dialogs) {}
    void report(const QString& description, const QString& tag, int line) override;
    void reportUnguarded(const QString& description, const QString& tag) override;

private:
    platform::Dialogs& dialogs_;
};

// A guarded procedure of a window: its failures are shown in the failure box.
class WindowProcedure : private FailureBox, public guarded::Procedure {
public:
    WindowProcedure(platform::Dialogs& dialogs, QString tag)
        : FailureBox(dialogs), Procedure(static_cast<FailureBox&>(*this), std::move(tag)) {}
};

// Runs a window's event procedure that has no report of its own: a failure is
// shown in the failure box (its description and place).
template <class Body>
void runUnguarded(platform::Dialogs& dialogs, const char* object, const char* procedure,
                  Body&& body) {
    FailureBox box(dialogs);
    guarded::runUnguarded(box, object, procedure, std::forward<Body>(body));
}

}  // namespace widgets
