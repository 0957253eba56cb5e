// "Start Generating" on the real main window, with doubles for the outside world.
#include <QCoreApplication>
#include <QLineEdit>
#include <QLocale>
#include <QProgressBar>
#include <QRadioButton>
#include <QTableView>

#include <gtest/gtest.h>

#include "app/form1.h"
#include "generate/random_generator.h"
#include "guarded/failure_report.h"
#include "names/name_list_model.h"
#include "platform/pointer.h"
#include "results/form2.h"
#include "results/result_list.h"
#include "support/form1_fixture.h"
#include "support/widget_printers.h"

namespace {

const QString kTooMany = "You must select an amount less than one million.";
const QString kNotANumber = "How many does not appear to be a number.";

// The main window over a copy of the built names.mdb, shown, with short lists
// and a fixed seed.
class GenerationRunTest : public testsupport::Form1Fixture {
protected:
    GenerationRunTest() : Form1Fixture(builtDatabase()) {}

    void SetUp() override {
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        start();
        dialogs.verifyAllShown();
        setLists({"Anna", "Tom", "Eve"}, {"Berg", "Hale"});
        form->random().seed(4711);
        form->show();
    }
    void TearDown() override { QLocale::setDefault(QLocale::c()); }

    void setLists(const QStringList& first, const QStringList& last) {
        form->firstNames().clear();
        form->firstNames().addAll(first);
        form->lastNames().clear();
        form->lastNames().addAll(last);
    }

    QStringList generate(const QString& count) {
        form->Text1->setText(count);
        form->PushButton1_Click();
        return rows();
    }

    QStringList rows() {
        QStringList texts;
        if (!form->hasResultsWindow()) return texts;
        results::ResultList& list = form->resultsWindow().results();
        for (int i = 0; i < list.count(); ++i) texts << list.text(i);
        EXPECT_EQ(list.rowCount(), list.count()) << "rows not shown in the list";
        return texts;
    }

    void expectAtRest() {
        EXPECT_FALSE(form->Generating());
        EXPECT_EQ(form->MousePointer(), platform::PointerShape::Normal);
        EXPECT_EQ(form->ProgressBar1->value(), 0);
        EXPECT_EQ(form->ProgressBar1->text(), "Progress Bar");
    }
};

TEST_F(GenerationRunTest, HundredNamesShowTheResultsWindow) {
    std::vector<int> positions;
    QObject::connect(form->ProgressBar1, &QProgressBar::valueChanged,
                     [&](int value) { positions.push_back(value); });
    const QStringList names = generate("100");
    ASSERT_EQ(names.size(), 100);
    for (const QString& name : names) {
        const QStringList parts = name.split(' ');
        ASSERT_EQ(parts.size(), 2) << name.toStdString();
        EXPECT_TRUE(form->firstNames().entries().contains(parts[0])) << name.toStdString();
        EXPECT_TRUE(form->lastNames().entries().contains(parts[1])) << name.toStdString();
    }
    EXPECT_TRUE(form->resultsWindow().isVisible());
    EXPECT_FALSE(form->isVisible());
    expectAtRest();
    // The bar climbed one step per percent to the top, then went back to rest.
    ASSERT_GE(positions.size(), 2u);
    EXPECT_EQ(positions[positions.size() - 2], 100);
    EXPECT_EQ(positions.back(), 0);
    EXPECT_TRUE(std::is_sorted(positions.begin(), positions.end() - 1));
}

TEST_F(GenerationRunTest, TheRoundedCountGivesTheRows) {
    EXPECT_EQ(generate("2.5").size(), 2);
    EXPECT_EQ(generate("3.5").size(), 4);
    EXPECT_EQ(generate("1,000").size(), 1000);  // read with the group separator
    expectAtRest();
    EXPECT_EQ(generate("1000000.7").size(), 1000001);
    expectAtRest();
}

TEST_F(GenerationRunTest, NoCountEmptiesTheResultsAndShowsThem) {
    generate("5");
    for (const QString count : {"0", "-5"}) {
        form->resultsWindow().hide();
        form->show();
        EXPECT_TRUE(generate(count).isEmpty());
        EXPECT_TRUE(form->resultsWindow().isVisible());
        EXPECT_FALSE(form->isVisible());
        expectAtRest();
    }
}

TEST_F(GenerationRunTest, RefusedCountsLeaveTheResultsAndWindowsAsTheyWere) {
    const QStringList earlier = generate("7");
    form->resultsWindow().hide();
    form->show();
    const struct {
        QString count;
        QString message;
    } refusals[] = {{"1000001", kTooMany}, {"5e6", kTooMany},      {"1,000,001", kTooMany},
                    {"abc", kNotANumber},  {"12abc", kNotANumber}, {"", kNotANumber}};
    for (const auto& refusal : refusals) {
        SCOPED_TRACE(refusal.count.toStdString());
        dialogs.expectMessageBox();
        EXPECT_EQ(generate(refusal.count), earlier);
        dialogs.verifyAllShown();
        EXPECT_EQ(dialogs.shown().back().text, refusal.message);
        EXPECT_EQ(dialogs.shown().back().style, platform::MessageStyle::Ok);
        EXPECT_EQ(dialogs.shown().back().title, form->applicationTitle());
        EXPECT_TRUE(form->isVisible());
        EXPECT_FALSE(form->resultsWindow().isVisible());
        expectAtRest();
    }
}

TEST_F(GenerationRunTest, ACountThatIsNoNumberPutsTheBarBackAtRest) {
    form->ProgressBar1->setValue(30);
    form->SetMousePointer(platform::PointerShape::Custom);
    dialogs.expectMessageBox();
    generate("abc");
    expectAtRest();
}

TEST_F(GenerationRunTest, ACountBeyondThirtyTwoBitsIsReportedAndGivesNoRows) {
    generate("7");
    dialogs.expectMessageBox();
    EXPECT_TRUE(generate("-3000000000").isEmpty());
    dialogs.verifyAllShown();
    EXPECT_EQ(
        dialogs.messages().back(),
        guarded::failureMessage("Overflow", "Tolvarine2021/08/31.Form1.PushButton1_Click", 124));
    expectAtRest();
}

TEST_F(GenerationRunTest, NoPartOfNameChosenAddsNoRows) {
    for (QRadioButton* option : {form->Option4, form->Option5, form->Option6})
        form->restoreOption(option, false);
    EXPECT_TRUE(generate("20").isEmpty());
    EXPECT_TRUE(form->resultsWindow().isVisible());
}

TEST_F(GenerationRunTest, PartOfNameOptionsChooseTheRow) {
    form->Option5->click();
    for (const QString& name : generate("20"))
        EXPECT_TRUE(form->firstNames().entries().contains(name));
    form->Option6->click();
    for (const QString& name : generate("20"))
        EXPECT_TRUE(form->lastNames().entries().contains(name));
}

TEST_F(GenerationRunTest, EntriesDroppedFromAViewAreNotDrawn) {
    form->firstNames().removeAt(1);  // Tom
    for (const QString& name : generate("200"))
        EXPECT_FALSE(name.startsWith("Tom ")) << name.toStdString();
}

TEST_F(GenerationRunTest, ASecondRunContinuesTheSequence) {
    const QStringList first = generate("50");
    const QStringList second = generate("50");
    EXPECT_NE(first, second);

    testsupport::ScriptedDialogs otherDialogs;
    testsupport::TempSettings otherSettings;
    app::Form1 other(
        widgets::Environment{otherDialogs, otherSettings.settings, shell, nullptr, db->folder()});
    other.firstNames().clear();
    other.firstNames().addAll(form->firstNames().entries());
    other.lastNames().clear();
    other.lastNames().addAll(form->lastNames().entries());
    other.random().seed(4711);
    other.Text1->setText("100");
    other.PushButton1_Click();
    QStringList both;
    for (int i = 0; i < other.resultsWindow().results().count(); ++i)
        both << other.resultsWindow().results().text(i);
    EXPECT_EQ(both, first + second);
}

TEST_F(GenerationRunTest, TheResultsWindowIsCreatedOnceWithOneColumn) {
    EXPECT_FALSE(form->hasResultsWindow());
    generate("3");
    results::Form2* created = &form->resultsWindow();
    form->resultsWindow().PushButton8_Click();
    generate("4");
    EXPECT_EQ(&form->resultsWindow(), created);
    EXPECT_EQ(created->ListView1->model()->columnCount(), 1);
    EXPECT_EQ(created->results().headerData(0, Qt::Horizontal).toString(), "Names");
    EXPECT_EQ(created->ListView1->model(), &created->results());
    EXPECT_EQ(rows().size(), 4);
}

TEST_F(GenerationRunTest, APressWhileARunIsUnderWayEndsAtOnce) {
    // The one processing of waiting events inside a run delivers a second press.
    bool pressed = false;
    bool wasGenerating = false;
    QMetaObject::invokeMethod(
        form.get(),
        [&] {
            pressed = true;
            wasGenerating = form->Generating();
            form->PushButton1_Click();
        },
        Qt::QueuedConnection);
    const QStringList names = generate("30");
    EXPECT_TRUE(pressed);
    EXPECT_TRUE(wasGenerating);
    // Only one run drew from the generator.
    generate::RandomGenerator replay{4711};
    ASSERT_EQ(names.size(), 30);
    for (const QString& name : names) {
        const int j = generate::RandomIndex(replay, 2);
        const int k = generate::RandomIndex(replay, 3);
        EXPECT_EQ(name, form->firstNames().text(k - 1) + " " + form->lastNames().text(j - 1));
    }
    expectAtRest();
}

}  // namespace
