#include <gtest/gtest.h>

#include "guarded/failure_report.h"
#include "support/scripted_dialogs.h"
#include "widgets/failure_box.h"

namespace {

using guarded::failureMessage;
using guarded::locationTag;
// A window's procedure: its failures are shown in the failure box.
using Procedure = widgets::WindowProcedure;
using platform::Failure;

const QString kTag = QStringLiteral("Tolvarine2021/08/31.Form2.PushButton2_Click");

void fail(const char* description) {
    throw Failure(QString::fromUtf8(description));
}

TEST(FailureMessage, IsBuiltLineByLine) {
    EXPECT_EQ(locationTag("Form2", "PushButton2_Click"), kTag);
    EXPECT_EQ(failureMessage("Permission denied", kTag, 124),
              "Permission denied\r\nin Tolvarine2021/08/31.Form2.PushButton2_Click at line 124"
              "\r\rPlease email screenshot of this message to " +
                  QString(guarded::kSupportAddress));
}

TEST(FailureReport, ShowsAWarningBoxTitledApplicationError) {
    testsupport::ScriptedDialogs dialogs;
    dialogs.expectMessageBox();
    Procedure procedure(dialogs, kTag);
    procedure.run(100, [] { fail("Disk full"); });
    ASSERT_EQ(dialogs.shown().size(), 1u);
    EXPECT_EQ(dialogs.shown()[0].text, failureMessage("Disk full", kTag, 100));
    EXPECT_EQ(dialogs.shown()[0].style, platform::MessageStyle::Warning);
    EXPECT_EQ(dialogs.shown()[0].title, "Application Error");
}

TEST(FailureReport, TwoFailingStatementsGiveTwoBoxesAndTheOthersStillRun) {
    testsupport::ScriptedDialogs dialogs;
    dialogs.expectMessageBox(2);
    Procedure procedure(dialogs, kTag);
    QStringList ran;
    procedure.run(100, [&] { ran << "100"; });
    procedure.run(102, [&] {
        fail("first");
        ran << "not reached";
    });
    procedure.run(104, [&] { ran << "104"; });
    procedure.run(106, [&] { fail("second"); });
    procedure.run(108, [&] { ran << "108"; });
    EXPECT_EQ(ran, QStringList({"100", "104", "108"}));
    EXPECT_EQ(dialogs.messages(), QStringList({failureMessage("first", kTag, 102),
                                               failureMessage("second", kTag, 106)}));
}

// A procedure without a report of its own: its failure abandons the rest of it.
void unguardedReload(QStringList& ran) {
    ran << "reload started";
    fail("no such table: user_lastname");
    ran << "reload finished";
}

TEST(FailureReport, AFailureInACalledProcedureIsReportedAtTheCallingStatement) {
    testsupport::ScriptedDialogs dialogs;
    dialogs.expectMessageBox();
    const QString tag = locationTag("Form1", "PushButton6_Click");
    Procedure procedure(dialogs, tag);
    QStringList ran;
    procedure.run(138, [&] { ran << "138"; });
    procedure.run(140, [&] { unguardedReload(ran); });
    EXPECT_EQ(ran, QStringList({"138", "reload started"}));
    EXPECT_EQ(dialogs.messages(),
              QStringList{failureMessage("no such table: user_lastname", tag, 140)});
}

TEST(FailureReport, AFailingTestTakesTheFirstBranch) {
    testsupport::ScriptedDialogs dialogs;
    dialogs.expectMessageBox();
    Procedure procedure(dialogs, kTag);
    bool firstBranch = false;
    if (procedure.test(100, []() -> bool { throw Failure("Type mismatch"); })) firstBranch = true;
    EXPECT_TRUE(firstBranch);
    EXPECT_EQ(dialogs.messages(), QStringList{failureMessage("Type mismatch", kTag, 100)});
}

TEST(FailureReport, TheSameFailureRecurringInALoopIsReportedOnce) {
    testsupport::ScriptedDialogs dialogs;
    dialogs.expectMessageBox(2);
    Procedure procedure(dialogs, kTag);
    int passes = 0;
    for (int row = 1; row <= 5; ++row) {
        procedure.run(136, [] { fail("Subscript out of range"); });
        procedure.run(138, [&] {
            if (row == 4) fail("a different failure");
            ++passes;
        });
    }
    EXPECT_EQ(passes, 4);
    EXPECT_EQ(dialogs.messages(), QStringList({failureMessage("Subscript out of range", kTag, 136),
                                               failureMessage("a different failure", kTag, 138)}));
}

TEST(FailureReport, ARunSaysWhetherItsStatementFailedAndOtherExceptionsAreDescribed) {
    testsupport::ScriptedDialogs dialogs;
    dialogs.expectMessageBox(2);
    Procedure procedure(dialogs, kTag);
    EXPECT_FALSE(procedure.run(124, [] { throw std::out_of_range("Overflow"); }));
    EXPECT_TRUE(procedure.run(126, [] {}));
    EXPECT_FALSE(procedure.run(128, [] { throw 42; }));
    EXPECT_EQ(dialogs.messages(), QStringList({failureMessage("Overflow", kTag, 124),
                                               failureMessage("Unknown failure", kTag, 128)}));
}

}  // namespace
