#pragma once

#include <iostream>
#include <ostream>

#include <QString>

#include "guarded/reporter.h"

namespace guarded {

// The command line's reporter: each failure is one line, "quillfern: <what
// went wrong>", on standard error; no box, no place, no statement number.
class StandardErrorReporter final : public Reporter {
public:
    explicit StandardErrorReporter(std::ostream& stream = std::cerr) : stream_(stream) {}
    void report(const QString& description, const QString& tag, int line) override;
    void reportUnguarded(const QString& description, const QString& tag) override;

    // The line written for a failure: line breaks inside the description become blanks.
    static QString lineFor(const QString& description);

private:
    std::ostream& stream_;
};

}  // namespace guarded
