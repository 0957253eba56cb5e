#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QHeaderView>
#include <QImage>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTreeView>

#include <gtest/gtest.h>

#include "app/form1.h"
#include "guarded/failure_report.h"
#include "names/name_list_model.h"
#include "results/form2.h"
#include "results/result_list.h"
#include "support/form1_fixture.h"
#include "support/widget_printers.h"
#include "widgets/progress_bar.h"

namespace {

using namespace platform::keys;

// The main window over a copy of the built names.mdb.
class Form1Test : public testsupport::Form1Fixture {
protected:
    Form1Test() : Form1Fixture(builtDatabase()) {}
};

TEST_F(Form1Test, FirstRunWithAnEmptyStore) {
    app::Form1& form1 = start();
    EXPECT_EQ(form1.windowTitle(), "Quillfern");
    EXPECT_EQ(form1.applicationTitle(), "Quillfern");
    EXPECT_EQ(QCoreApplication::applicationName(), "Quillfern");
    EXPECT_FALSE(form1.windowIcon().isNull());
    EXPECT_TRUE(form1.Option9->isChecked());
    EXPECT_FALSE(form1.Option8->isChecked());
    EXPECT_TRUE(form1.Option1->isChecked());
    EXPECT_TRUE(form1.Option4->isChecked());
    EXPECT_FALSE(form1.Option5->isChecked() || form1.Option6->isChecked());
    EXPECT_EQ(form1.Text1->text(), "100");
    EXPECT_EQ(form1.Text1->selectedText(), "100");
    // Restoring runs the click handling, which stores the groups and the count.
    EXPECT_EQ(stored("Option4"), "True");
    EXPECT_EQ(stored("Option5"), "False");
    EXPECT_EQ(stored("Option6"), "False");
    EXPECT_EQ(stored("Text1"), "100");
    EXPECT_EQ(form1.firstNames().header(), "First Names");
    EXPECT_EQ(form1.lastNames().header(), "Last Names");
    EXPECT_EQ(form1.ListView1->columnWidth(0), 433);
    EXPECT_EQ(form1.ListView2->header()->sectionSize(0), 433);
    EXPECT_EQ(dialogs.shown().size(), 0u);
}

TEST_F(Form1Test, OptionsAndCountComeBackFromAFilledStore) {
    settings.settings.writeOption(BuiltInList, false);
    settings.settings.writeOption(UserList, true);
    settings.settings.writeOption(BothGenders, false);
    settings.settings.writeOption(MaleOnly, false);
    settings.settings.writeOption(FemaleOnly, true);
    settings.settings.writeOption(FirstAndLastName, false);
    settings.settings.writeOption(FirstNameOnly, false);
    settings.settings.writeOption(LastNameOnly, true);
    settings.settings.writeText(Count, "250 names");
    app::Form1& form1 = start();
    EXPECT_TRUE(form1.Option8->isChecked());
    EXPECT_FALSE(form1.Option9->isChecked());
    EXPECT_TRUE(form1.Option3->isChecked());
    EXPECT_FALSE(form1.Option1->isChecked());
    EXPECT_TRUE(form1.Option6->isChecked());
    EXPECT_FALSE(form1.Option4->isChecked());
    EXPECT_EQ(form1.Text1->text(), "250 names");
    EXPECT_EQ(stored("Option6"), "True");
    EXPECT_EQ(stored("Option4"), "False");
}

TEST_F(Form1Test, EachOptionGroupExcludesOnlyItsOwnMembers) {
    app::Form1& form1 = start();
    form1.Option3->click();
    form1.Option8->click();
    EXPECT_TRUE(form1.Option8->isChecked());
    EXPECT_FALSE(form1.Option9->isChecked());
    EXPECT_TRUE(form1.Option3->isChecked());
    form1.Option9->click();
    EXPECT_TRUE(form1.Option9->isChecked());
    EXPECT_FALSE(form1.Option8->isChecked());
    EXPECT_TRUE(form1.Option3->isChecked());
    EXPECT_TRUE(form1.Option4->isChecked());
}

TEST_F(Form1Test, NoPartOfNameIsChosenWhenAllThreeAreStoredOff) {
    settings.settings.writeOption(FirstAndLastName, false);
    settings.settings.writeOption(FirstNameOnly, false);
    settings.settings.writeOption(LastNameOnly, false);
    app::Form1& form1 = start();
    EXPECT_FALSE(form1.Option4->isChecked() || form1.Option5->isChecked() ||
                 form1.Option6->isChecked());
}

TEST_F(Form1Test, AStoredOptionThatIsNotABooleanFailsOnlyItsOwnStep) {
    settings.settings.writeText({"Option5", nullptr}, "sometimes");
    settings.settings.writeOption(LastNameOnly, true);
    settings.settings.writeOption(FirstAndLastName, false);
    settings.settings.writeText(Count, "7");
    dialogs.expectMessageBox();
    app::Form1& form1 = start();
    EXPECT_EQ(dialogs.messages(),
              QStringList{guarded::failureMessage("Type mismatch",
                                                  "Tolvarine2021/08/31.Form1.Form_Load", 150)});
    EXPECT_EQ(dialogs.shown()[0].title, "Application Error");
    EXPECT_TRUE(form1.Option6->isChecked());
    EXPECT_EQ(form1.Text1->text(), "7");
}

TEST_F(Form1Test, TheCountIsStoredOnEveryChange) {
    app::Form1& form1 = start();
    form1.Text1->clear();
    EXPECT_EQ(stored("Text1"), "");
    QTest::keyClicks(form1.Text1, "12a");
    EXPECT_EQ(stored("Text1"), "12a");
    form1.Text1->setText("abc");
    EXPECT_EQ(platform::Settings(settings.folder.path()).readText(Count), "abc");
}

TEST_F(Form1Test, TheCountBoxSelectsItsWholeTextOnFocus) {
    app::Form1& form1 = start();
    form1.Text1->setText("4321");
    form1.Text1->deselect();
    form1.show();
    form1.PushButton1->setFocus();
    QFocusEvent focusIn(QEvent::FocusIn, Qt::TabFocusReason);
    QCoreApplication::sendEvent(form1.Text1, &focusIn);
    EXPECT_EQ(form1.Text1->selectedText(), "4321");
}

TEST_F(Form1Test, HelpExplainsTheTwoLists) {
    app::Form1& form1 = start();
    dialogs.expectMessageBox();
    form1.PushButton8->click();
    ASSERT_EQ(dialogs.shown().size(), 1u);
    EXPECT_EQ(dialogs.shown()[0].text,
              "You have two options for generating: \r\r"
              "1. You can generate from Amberlin's List which contains my collection of first "
              "and last names.\r\r"
              "2. You can generate using your User List. In this case, names can be loaded from "
              "a text file or added one at a time.");
    EXPECT_EQ(dialogs.shown()[0].style, platform::MessageStyle::Ok);
    EXPECT_EQ(dialogs.shown()[0].title, "Quillfern");
}

TEST_F(Form1Test, ClickingAPartOfNameStoresTheWholeGroup) {
    app::Form1& form1 = start();
    form1.Option5->click();
    EXPECT_EQ(stored("Option4"), "False");
    EXPECT_EQ(stored("Option5"), "True");
    EXPECT_EQ(stored("Option6"), "False");
    form1.Option6->click();
    EXPECT_EQ(stored("Option5"), "False");
    EXPECT_EQ(stored("Option6"), "True");
}

TEST_F(Form1Test, ClosingTheWindowEndsTheProgram) {
    app::Form1& form1 = start();
    form1.show();
    EXPECT_TRUE(form1.close());
    EXPECT_EQ(shell.endProgramCalls, 1);
}

// Counts the paint events of one widget.
class PaintCounter : public QObject {
public:
    explicit PaintCounter(QWidget* widget) { widget->installEventFilter(this); }
    int paints = 0;
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) ++paints;
        return false;
    }
};

TEST(ProgressBar, AdvanceDrawsAtOnceWithoutTheEventLoopAndKeepsEveryPosition) {
    widgets::ProgressBar bar;
    bar.show();
    QCoreApplication::processEvents();
    PaintCounter counter(&bar);
    std::vector<int> positions;
    QObject::connect(&bar, &QProgressBar::valueChanged,
                     [&](int value) { positions.push_back(value); });
    bar.advance(1);
    EXPECT_EQ(counter.paints, 1);  // a run gives the event loop no chance to draw it
    for (int position = 2; position <= 100; ++position) bar.advance(position);
    EXPECT_EQ(bar.value(), 100);
    ASSERT_EQ(positions.size(), 100u);
    EXPECT_EQ(positions.front(), 1);
    EXPECT_EQ(positions.back(), 100);
    EXPECT_TRUE(bar.updatesEnabled());
}

TEST(HomePage, OneStartInAHundredOpensIt) {
    int visits = 0;
    constexpr int kStarts = 20000;
    for (int seed = 0; seed < kStarts; ++seed) {
        generate::RandomGenerator random(static_cast<std::uint64_t>(seed) * 7919u);
        if (app::drawsHomePageVisit(random)) ++visits;
    }
    EXPECT_GT(visits, kStarts / 100 / 2);
    EXPECT_LT(visits, kStarts / 100 * 2);
}

}  // namespace
