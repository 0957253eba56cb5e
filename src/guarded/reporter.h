#pragma once

#include <exception>

#include <QString>

#include "platform/failure.h"

namespace guarded {

// Where the failures of guarded procedures go: the failure box in the windows,
// one line on standard error on the command line.
class Reporter {
public:
    virtual ~Reporter() = default;
    // A failing numbered statement: what went wrong, the procedure's location
    // tag and the statement's number.
    virtual void report(const QString& description, const QString& tag, int line) = 0;
    // A failure in a procedure without numbered statements.
    virtual void reportUnguarded(const QString& description, const QString& tag) = 0;
};

// The reporter of a caller that handles failures itself (the command line):
// the failure in flight goes on up as it came and ends the procedure.
class LetThroughReporter final : public Reporter {
public:
    void report(const QString& description, const QString&, int) override { rethrow(description); }
    void reportUnguarded(const QString& description, const QString&) override {
        rethrow(description);
    }

private:
    [[noreturn]] static void rethrow(const QString& description) {
        if (const std::exception_ptr failure = std::current_exception())
            std::rethrow_exception(failure);
        throw platform::Failure(description);
    }
};

}  // namespace guarded
