#pragma once

#include <QString>

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

}  // namespace guarded
