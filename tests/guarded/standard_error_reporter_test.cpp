#include <sstream>

#include <gtest/gtest.h>

#include "guarded/failure_report.h"
#include "guarded/standard_error_reporter.h"
#include "platform/failure.h"

namespace {

using guarded::Procedure;
using guarded::StandardErrorReporter;
using platform::Failure;

TEST(StandardErrorReporter, EachFailureIsOneLineNamingTheProgram) {
    std::ostringstream stream;
    StandardErrorReporter reporter(stream);
    Procedure procedure(reporter, guarded::locationTag("Main", "Generate"));
    procedure.run(100, [] { throw Failure("Disk full"); });
    for (int i = 0; i < 3; ++i)
        procedure.run(102, [] { throw Failure("unable to open\r\ndatabase\rfile\nnames.mdb"); });
    EXPECT_TRUE(procedure.run(104, [] {}));
    EXPECT_EQ(stream.str(),
              "quillfern: Disk full\n"
              "quillfern: unable to open database file names.mdb\n");
}

TEST(StandardErrorReporter, AnUnguardedFailureIsOneLineToo) {
    std::ostringstream stream;
    StandardErrorReporter reporter(stream);
    guarded::runUnguarded(reporter, "Main", "Import",
                          [] { throw Failure(QString::fromUtf8("Zoë: Permission denied")); });
    EXPECT_EQ(stream.str(), "quillfern: Zoë: Permission denied\n");
}

}  // namespace
