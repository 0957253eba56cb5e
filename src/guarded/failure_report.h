#pragma once

#include <exception>
#include <new>
#include <set>
#include <utility>

#include <QString>

#include "guarded/reporter.h"
#include "platform/failure.h"

namespace guarded {

inline constexpr char kSupportAddress[] = "support@quillfern.example";

// "Tolvarine2021/08/31.<object>.<procedure>"
QString locationTag(const char* object, const char* procedure);

// The text of the failure report: description, CR LF, the place and the last
// statement reached, two CRs, the request for a screenshot.
QString failureMessage(const QString& description, const QString& tag, int line);

// A guarded procedure: it runs numbered statements, reports a failing one with
// its number and goes on with the next. A failure inside a called procedure that
// has no report of its own is reported at the calling statement.
// Within one run the same failure (same statement, same description) is reported
// only once, so a failing statement inside a loop does not flood the user.
class Procedure {
public:
    Procedure(Reporter& reporter, QString tag) : reporter_(reporter), tag_(std::move(tag)) {}
    Procedure(const Procedure&) = delete;
    Procedure& operator=(const Procedure&) = delete;

    // Runs one statement; returns false when it failed (and was reported).
    template <class Statement>
    bool run(int number, Statement&& statement) {
        try {
            statement();
            return true;
        } catch (...) {
            reportCurrent(number);
            return false;
        }
    }

    // The test that opens a conditional block: a failing test takes the first branch.
    template <class Condition>
    bool test(int number, Condition&& condition) {
        try {
            return condition();
        } catch (...) {
            reportCurrent(number);
            return true;
        }
    }

    const QString& tag() const { return tag_; }

private:
    // Reports the exception in flight unless the same failure was reported before.
    void reportCurrent(int number);

    Reporter& reporter_;
    QString tag_;
    std::set<std::pair<int, QString>> reported_;
};

// The description of the exception in flight.
QString currentFailureDescription();

// Runs an event procedure that has no report of its own: a failure is shown to
// the user (its description and place) instead of leaving the event procedure.
template <class Body>
void runUnguarded(Reporter& reporter, const char* object, const char* procedure, Body&& body) {
    try {
        body();
    } catch (...) {
        reporter.reportUnguarded(currentFailureDescription(), locationTag(object, procedure));
    }
}

// Runs the steps of a lower layer's function as numbered statements of the
// procedure that calls it: `numberOf(step)` is the step's number there.
template <auto numberOf>
class NumberedSteps {
public:
    explicit NumberedSteps(Procedure& procedure) : procedure_(procedure) {}

    template <class Step, class Statement>
    bool run(Step step, Statement&& statement) {
        return procedure_.run(numberOf(step), std::forward<Statement>(statement));
    }
    template <class Step, class Condition>
    bool test(Step step, Condition&& condition) {
        return procedure_.test(numberOf(step), std::forward<Condition>(condition));
    }

private:
    Procedure& procedure_;
};

// The guard of a caller that handles failures itself (the command line): each
// step runs as it is, and a failure goes on up at once.
struct LetThrough {
    template <class Step, class Statement>
    bool run(Step, Statement&& statement) {
        statement();
        return true;
    }
    template <class Step, class Condition>
    bool test(Step, Condition&& condition) {
        return condition();
    }
};

}  // namespace guarded
