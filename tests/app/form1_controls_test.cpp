// The main window's controls: names, captions and places, colours, list columns,
// keys, tab order and pointer.
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

// Moves the mouse over a widget, no button held.
void moveOver(QWidget* widget, QPointF at = {2, 2}) {
    QMouseEvent move(QEvent::MouseMove, at, widget->mapToGlobal(at), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QCoreApplication::sendEvent(widget, &move);
}

// The main window over a copy of the built names.mdb.
class Form1ControlsTest : public testsupport::Form1Fixture {
protected:
    Form1ControlsTest() : Form1Fixture(builtDatabase()) {}
};

TEST_F(Form1ControlsTest, ControlsHaveTheirNamesCaptionsAndPlaces) {
    app::Form1& form1 = start();
    EXPECT_EQ(form1.size(), QSize(536, 731));
    EXPECT_EQ(form1.minimumSize(), form1.maximumSize());
    EXPECT_FALSE(form1.windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_TRUE(form1.windowFlags() & Qt::WindowMinimizeButtonHint);
    const struct {
        const char* name;
        const char* caption;
        QRect place;
    } controls[] = {
        {"PushButton8", "Help", {8, 8, 520, 27}},
        {"Frame4", "List Options", {8, 38, 520, 123}},
        {"Option9",
         "Amberlin's List - Generate random names from my list of names",
         {16, 20, 420, 17}},
        {"Frame1", "Gender Options (Amberlin's List Only)", {40, 38, 288, 49}},
        {"Option1", "Both", {16, 20, 68, 17}},
        {"Option2", "Male Only", {84, 20, 89, 17}},
        {"Option3", "Female Only", {174, 20, 97, 17}},
        {"Option8", "User List - Generate random names from your list of names", {15, 96, 401, 17}},
        {"Frame2", "Part Of Name", {8, 164, 520, 55}},
        {"Option4", "First and Last Name", {16, 24, 140, 17}},
        {"Option5", "First Name Only", {164, 24, 113, 17}},
        {"Option6", "Last Name Only", {286, 24, 113, 17}},
        {"Frame3", "How many names would you like to generate?", {8, 221, 520, 55}},
        {"Frame6", "First Names", {8, 278, 520, 187}},
        {"PushButton2", "Add First Name", {16, 114, 240, 27}},
        {"PushButton6", "Load First Names From File", {263, 114, 240, 27}},
        {"PushButton4", "Delete", {16, 148, 488, 27}},
        {"Frame5", "Last Names", {8, 468, 520, 187}},
        {"PushButton5", "Add Last Name", {16, 114, 240, 27}},
        {"PushButton7", "Load Last Names From File", {265, 114, 240, 27}},
        {"PushButton3", "Delete", {16, 148, 488, 27}},
        {"PushButton1", "Start Generating", {8, 663, 520, 27}},
        {"originFrame", "Origin", {336, 38, 176, 49}},
    };
    for (const auto& c : controls) {
        auto* widget = form1.findChild<QWidget*>(c.name);
        ASSERT_NE(widget, nullptr) << c.name;
        EXPECT_EQ(widget->geometry(), c.place) << c.name;
        QString caption;
        if (auto* button = qobject_cast<QAbstractButton*>(widget)) caption = button->text();
        if (auto* frame = qobject_cast<QGroupBox*>(widget)) caption = frame->title();
        EXPECT_EQ(caption, QString::fromUtf8(c.caption)) << c.name;
        EXPECT_TRUE(widget->font().bold()) << c.name;
    }
    EXPECT_EQ(form1.PushButton1->font().pointSizeF(), 11.25);
    EXPECT_EQ(form1.Frame4->font().pointSizeF(), 9);
    EXPECT_EQ(form1.ProgressBar1->objectName(), "ProgressBar1");
    EXPECT_EQ(form1.ProgressBar1->text(), "Progress Bar");
    EXPECT_EQ(form1.ProgressBar1->geometry(), QRect(8, 697, 520, 27));
    EXPECT_EQ(form1.Text1->geometry(), QRect(16, 20, 487, 25));
    EXPECT_EQ(form1.ListView1->geometry(), QRect(16, 20, 488, 88));
    EXPECT_EQ(form1.ListView2->parentWidget(), form1.Frame5);
    // The origin button sits in the free space of "List Options", clear of its options.
    EXPECT_EQ(form1.originFrame->parentWidget(), form1.Frame4);
    EXPECT_EQ(form1.originButton->geometry(), QRect(8, 18, 160, 25));
    EXPECT_EQ(form1.originButton->text(), form1.originButton->text().trimmed());
    EXPECT_FALSE(form1.originButton->text().isEmpty());
    for (QWidget* option :
         std::initializer_list<QWidget*>{form1.Frame1, form1.Option9, form1.Option8})
        EXPECT_FALSE(form1.originFrame->geometry().intersects(option->geometry()))
            << option->objectName().toStdString();
    EXPECT_EQ(form1.Option1->parentWidget(), form1.Frame1);
    EXPECT_EQ(form1.Frame1->parentWidget(), form1.Frame4);
    // Without the skin file the window, its frames and options are white.
    EXPECT_EQ(form1.palette().color(QPalette::Window), QColor(Qt::white));
    EXPECT_EQ(form1.Frame6->palette().color(QPalette::Window), QColor(Qt::white));
    for (QRadioButton* option : {form1.Option1, form1.Option5, form1.Option9}) {
        EXPECT_TRUE(option->autoFillBackground());
        EXPECT_EQ(option->palette().color(option->backgroundRole()), QColor(Qt::white));
    }
}

TEST_F(Form1ControlsTest, InsideTheFramesEverythingIsPureWhite) {
    app::Form1& form1 = startShown();
    const QImage shown = form1.grab().toImage();
    const auto colourAt = [&](const QWidget* control, QPoint at) {
        return shown.pixelColor(control->mapTo(&form1, at));
    };
    // Each frame's inside, away from its controls.
    for (const QGroupBox* frame : form1.findChildren<QGroupBox*>()) {
        EXPECT_EQ(colourAt(frame, {frame->width() - 8, frame->height() - 8}), QColor(Qt::white))
            << frame->objectName().toStdString();
    }
    // The options, at their empty top-right corner, and their frame just beside them.
    for (const QRadioButton* option : form1.findChildren<QRadioButton*>()) {
        const QPoint corner(option->width() - 1, 0);
        EXPECT_EQ(colourAt(option, corner), QColor(Qt::white))
            << option->objectName().toStdString();
        EXPECT_EQ(colourAt(option, corner + QPoint(2, 0)), QColor(Qt::white))
            << option->objectName().toStdString();
    }
}

TEST_F(Form1ControlsTest, TheListColumnsKeepTheirWidthOnceShown) {
    app::Form1& form1 = startShown();
    EXPECT_EQ(form1.ListView1->columnWidth(0), 433);
    EXPECT_EQ(form1.ListView2->columnWidth(0), 433);
}

TEST_F(Form1ControlsTest, TheListHeaderShowsTheResizePointerOverItsDivider) {
    app::Form1& form1 = startShown();
    for (QTreeView* view : {form1.ListView1, form1.ListView2}) {
        SCOPED_TRACE(view->objectName().toStdString());
        QHeaderView* header = view->header();
        const int divider = header->sectionViewportPosition(0) + header->sectionSize(0) - 1;
        const int middle = header->height() / 2;
        form1.SetMousePointer(platform::PointerShape::Custom);
        moveOver(header->viewport(), QPointF(divider, middle));
        EXPECT_EQ(header->cursor().shape(), Qt::SplitHCursor);
        EXPECT_EQ(form1.MousePointer(), platform::PointerShape::Normal);
        moveOver(header->viewport(), QPointF(divider / 2, middle));
        EXPECT_EQ(header->cursor().shape(), Qt::ArrowCursor);
    }
}

TEST_F(Form1ControlsTest, OnlyTheDeleteKeyDropsAListEntry) {
    app::Form1& form1 = start();
    const struct {
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        int dropped;
    } presses[] = {
        {Qt::Key_Period, Qt::NoModifier, 0},  // Qt's value for "." is the Delete key's code
        {Qt::Key_Period, Qt::KeypadModifier, 0}, {Qt::Key_Comma, Qt::NoModifier, 0},
        {Qt::Key_Backspace, Qt::NoModifier, 0},  {Qt::Key_Insert, Qt::NoModifier, 0},
        {Qt::Key_D, Qt::NoModifier, 0},          {Qt::Key_Delete, Qt::NoModifier, 1},
        {Qt::Key_Delete, Qt::KeypadModifier, 1},  // the keypad's "Del" with Num Lock off
    };
    for (QTreeView* view : {form1.ListView1, form1.ListView2}) {
        int entries = view->model()->rowCount();
        ASSERT_GT(entries, 2);
        for (const auto& press : presses) {
            view->setCurrentIndex(view->model()->index(1, 0));
            QTest::keyClick(view, press.key, press.modifiers);
            entries -= press.dropped;
            EXPECT_EQ(view->model()->rowCount(), entries)
                << view->objectName().toStdString() << " key "
                << QKeySequence(press.key).toString().toStdString();
        }
    }
}

TEST_F(Form1ControlsTest, ALongStoredCountComesBackWhole) {
    const QString count = QString(1'000'000, u'0') + u'7';
    settings.settings.writeText(Count, count);
    app::Form1& form1 = start();
    EXPECT_EQ(form1.Text1->text().size(), count.size());
    EXPECT_EQ(stored("Text1").size(), count.size());
    form1.PushButton1->click();
    EXPECT_EQ(form1.resultsWindow().results().count(), 7);
}

TEST_F(Form1ControlsTest, TheTabKeyVisitsTheControlsInTheirOrder) {
    app::Form1& form1 = start();
    const QStringList expected{"Text1",       "ListView1",   "PushButton2", "PushButton6",
                               "PushButton4", "ListView2",   "PushButton5", "PushButton7",
                               "PushButton3", "PushButton1", "PushButton8", "Option9",
                               "Option1",     "Option2",     "Option3",     "Option8",
                               "Option4",     "Option5",     "Option6",     "originButton"};
    QStringList visited;
    QWidget* widget = form1.Text1;
    while (visited.size() < expected.size()) {
        if (widget->focusPolicy() & Qt::TabFocus) visited << widget->objectName();
        widget = widget->nextInFocusChain();
        if (widget == form1.Text1) break;
    }
    EXPECT_EQ(visited, expected);
}

TEST_F(Form1ControlsTest, WithTheSkinFileTheWindowTakesTheButtonFaceColour) {
    ASSERT_TRUE(QDir(db->folder()).mkpath("x"));
    QFile skin(programFile("x/o.cjs"));
    ASSERT_TRUE(skin.open(QIODevice::WriteOnly));
    skin.close();
    app::Form1& form1 = start();
    const QColor buttonFace = QApplication::palette().color(QPalette::Button);
    EXPECT_EQ(form1.palette().color(QPalette::Window), buttonFace);
    EXPECT_EQ(form1.Frame2->palette().color(QPalette::Window), buttonFace);
    EXPECT_EQ(form1.Option8->palette().color(QPalette::Window), buttonFace);
}

TEST_F(Form1ControlsTest, PointerFollowsTheTableAndStaysAnHourglass) {
    QImage image(32, 32, QImage::Format_ARGB32);
    image.fill(Qt::blue);
    ASSERT_TRUE(image.save(programFile("HAND-M.CUR"), "ICO"));
    app::Form1& form1 = start();

    for (QWidget* button :
         {form1.PushButton1, form1.PushButton2, form1.PushButton3, form1.PushButton4,
          form1.PushButton5, form1.PushButton6, form1.PushButton7, form1.PushButton8}) {
        form1.SetMousePointer(platform::PointerShape::Normal);
        moveOver(button);
        EXPECT_EQ(form1.MousePointer(), platform::PointerShape::Custom)
            << button->objectName().toStdString();
        EXPECT_EQ(form1.cursor().shape(), Qt::BitmapCursor);
    }
    for (QWidget* arrowArea : std::initializer_list<QWidget*>{
             &form1, form1.Frame1, form1.Frame2, form1.Frame3, form1.Frame4, form1.Frame5,
             form1.Frame6, form1.Option8, form1.Option9, form1.ListView1,
             form1.ListView1->viewport(), form1.ListView2->viewport()}) {
        form1.SetMousePointer(platform::PointerShape::Custom);
        moveOver(arrowArea);
        EXPECT_EQ(form1.MousePointer(), platform::PointerShape::Normal)
            << arrowArea->objectName().toStdString();
    }
    for (QWidget* unchanged : std::initializer_list<QWidget*>{
             form1.Option1, form1.Option2, form1.Option3, form1.Option4, form1.Option5,
             form1.Option6, form1.Text1, form1.ProgressBar1}) {
        form1.SetMousePointer(platform::PointerShape::Custom);
        moveOver(unchanged);
        EXPECT_EQ(form1.MousePointer(), platform::PointerShape::Custom)
            << unchanged->objectName().toStdString();
    }
    form1.SetMousePointer(platform::PointerShape::Hourglass);
    moveOver(form1.PushButton1);
    moveOver(form1.Frame1);
    EXPECT_EQ(form1.MousePointer(), platform::PointerShape::Hourglass);
    EXPECT_EQ(form1.cursor().shape(), Qt::WaitCursor);
}

TEST_F(Form1ControlsTest, WithoutTheHandPictureTheCustomPointerIsTheArrow) {
    app::Form1& form1 = start();
    moveOver(form1.PushButton8);
    EXPECT_EQ(form1.MousePointer(), platform::PointerShape::Custom);
    EXPECT_EQ(form1.cursor().shape(), Qt::ArrowCursor);
}

TEST_F(Form1ControlsTest, ADamagedHandPictureIsReportedAndStartUpGoesOn) {
    QFile broken(programFile("HAND-M.CUR"));
    ASSERT_TRUE(broken.open(QIODevice::WriteOnly));
    broken.write("garbage");
    broken.close();
    dialogs.expectMessageBox();
    app::Form1& form1 = start();
    EXPECT_EQ(dialogs.messages(),
              QStringList{guarded::failureMessage("Invalid picture",
                                                  "Tolvarine2021/08/31.Form1.Form_Load", 106)});
    EXPECT_EQ(form1.windowTitle(), "Quillfern");
    EXPECT_EQ(form1.Text1->text(), "100");
}

}  // namespace
