#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QGroupBox>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QTest>

#include "guarded/failure_report.h"
#include "platform/pointer.h"
#include "support/form2_fixture.h"
#include "support/widget_printers.h"
#include "widgets/twips.h"

namespace {

using widgets::twipsToPixels;

class Form2Test : public testsupport::Form2Fixture {
protected:
    void moveOver(QWidget* widget, QPointF at = {2, 2}) {
        QMouseEvent move(QEvent::MouseMove, at, widget->mapToGlobal(at), Qt::NoButton, Qt::NoButton,
                         Qt::NoModifier);
        QCoreApplication::sendEvent(widget, &move);
    }
    QRect twips(int left, int top, int width, int height) {
        return QRect(twipsToPixels(left), twipsToPixels(top), twipsToPixels(width),
                     twipsToPixels(height));
    }
};

TEST_F(Form2Test, ControlsStandWhereTheLayoutPutsThem) {
    results::Form2& form = open();
    EXPECT_EQ(form.objectName(), "Form2");
    EXPECT_EQ(form.windowTitle(), "Quillfern");
    EXPECT_FALSE(form.windowIcon().isNull());
    EXPECT_EQ(form.size(), QSize(twipsToPixels(8040), twipsToPixels(7800)));
    EXPECT_EQ(form.minimumSize(), form.maximumSize());
    EXPECT_FALSE(form.windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_EQ(form.font().family(), "Arial");
    EXPECT_TRUE(form.font().bold());

    const struct {
        QWidget* control;
        const char* name;
        QString caption;
        QRect place;
        QWidget* parent;
    } controls[] = {
        {form.PushButton8, "PushButton8", "< Back", twips(120, 120, 7800, 405), &form},
        {form.Frame2, "Frame2", "Output", twips(120, 570, 7800, 690), &form},
        {form.Option4, "Option4", "Text File", twips(240, 240, 1335, 375), form.Frame2},
        {form.Option5, "Option5", "Excel (2 cells)", twips(1575, 240, 1695, 375), form.Frame2},
        {form.Option6, "Option6", "Excel (1 cell)", twips(3555, 240, 1695, 375), form.Frame2},
        {form.ListView1, "ListView1", "", twips(120, 1360, 7800, 4930), &form},
        {form.Frame4, "Frame4", "Save Results To This Folder", twips(120, 6360, 7800, 810), &form},
        {form.Text2, "Text2", "", twips(240, 300, 6630, 345), form.Frame4},
        {form.PushButton1, "PushButton1", "...", twips(6960, 300, 600, 345), form.Frame4},
        {form.PushButton2, "PushButton2", "Save Results", twips(120, 7290, 7800, 405), &form},
    };
    for (const auto& c : controls) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(form.findChild<QWidget*>(c.name), c.control);
        EXPECT_EQ(c.control->geometry(), c.place);
        EXPECT_EQ(c.control->parentWidget(), c.parent);
        if (auto* button = qobject_cast<QAbstractButton*>(c.control)) {
            EXPECT_EQ(button->text(), c.caption);
        }
        if (auto* frame = qobject_cast<QGroupBox*>(c.control)) {
            EXPECT_EQ(frame->title(), c.caption);
        }
    }
    EXPECT_DOUBLE_EQ(form.PushButton2->font().pointSizeF(), 11.25);
    EXPECT_DOUBLE_EQ(form.ListView1->font().pointSizeF(), 9);
    EXPECT_TRUE(form.Option4->isChecked());
    EXPECT_FALSE(form.Option5->isChecked() || form.Option6->isChecked());

    EXPECT_EQ(form.ListView1->model()->columnCount(), 1);
    EXPECT_EQ(form.ListView1->model()->headerData(0, Qt::Horizontal).toString(), "Names");
    EXPECT_EQ(form.ListView1->columnWidth(0), twipsToPixels(7000));
    EXPECT_FALSE(form.ListView1->horizontalHeader()->isHidden());
    EXPECT_TRUE(form.ListView1->verticalHeader()->isHidden());
    EXPECT_EQ(form.ListView1->model()->rowCount(), 0);
    EXPECT_EQ(form.palette().color(QPalette::Window),
              QApplication::palette().color(QPalette::Button));
}

TEST_F(Form2Test, TheOutputFolderDefaultsToTheDesktopAndIsStoredAtOnce) {
    shell.desktop = "/home/ann/Desktop";
    EXPECT_FALSE(isStored("Text2"));
    results::Form2& form = open();
    EXPECT_EQ(form.Text2->text(), "/home/ann/Desktop/");
    EXPECT_EQ(stored("Text2"), "/home/ann/Desktop/");
}

TEST_F(Form2Test, TheStoredOutputFolderComesBack) {
    temp.settings.writeText(platform::keys::OutputFolder, "/srv/names/");
    EXPECT_EQ(open().Text2->text(), "/srv/names/");
}

TEST_F(Form2Test, AStoredOutputFolderIsUsedAsItIsWithoutTheDesktop) {
    temp.settings.writeText(platform::keys::OutputFolder, "/srv/no such, folder");
    shell.desktopFails = true;
    EXPECT_EQ(open().Text2->text(), "/srv/no such, folder");
    EXPECT_TRUE(dialogs.messages().isEmpty());
}

TEST_F(Form2Test, WithoutADesktopFolderTheLoadReportsAndGoesOn) {
    shell.desktopFails = true;
    dialogs.expectMessageBox();
    results::Form2& form = open();
    dialogs.verifyAllShown();
    EXPECT_EQ(dialogs.messages().value(0),
              guarded::failureMessage("The desktop folder cannot be found",
                                      "Tolvarine2021/08/31.Form2.Form_Load", 112));
    EXPECT_EQ(form.Text2->text(), "");
    EXPECT_FALSE(isStored("Text2"));
}

TEST_F(Form2Test, ADamagedCursorFileIsReportedAndTheLoadGoesOn) {
    QFile cursor(programFolder.filePath("HAND-M.CUR"));
    ASSERT_TRUE(cursor.open(QIODevice::WriteOnly));
    cursor.write("not a picture");
    cursor.close();
    dialogs.expectMessageBox();
    results::Form2& form = open();
    dialogs.verifyAllShown();
    EXPECT_TRUE(dialogs.messages().value(0).contains("at line 106"));
    form.SetMousePointer(platform::PointerShape::Custom);
    EXPECT_EQ(form.cursor().shape(), Qt::ArrowCursor);  // no custom picture
    EXPECT_EQ(form.windowTitle(), "Quillfern");
    EXPECT_EQ(form.Text2->text(), shell.desktop + "/");
}

TEST_F(Form2Test, TypingStoresEveryText) {
    results::Form2& form = open();
    form.Text2->clear();
    form.show();
    QStringList storedTexts;
    QObject::connect(form.Text2, &QLineEdit::textChanged, [&] { storedTexts << stored("Text2"); });
    QTest::keyClicks(form.Text2, "/tmp");
    EXPECT_EQ(storedTexts, (QStringList{"/", "/t", "/tm", "/tmp"}));
}

TEST_F(Form2Test, BackShowsTheMainWindowAndKeepsEverything) {
    results::Form2& form = open();
    fill({"Anna Berg"});
    form.Option6->setChecked(true);
    form.Text2->setText("/srv/");
    form.show();
    form.PushButton8->click();
    EXPECT_TRUE(main.isVisible());
    EXPECT_FALSE(form.isVisible());
    form.show();
    EXPECT_TRUE(form.Option6->isChecked());
    EXPECT_EQ(form.Text2->text(), "/srv/");
    EXPECT_EQ(form.results().count(), 1);
}

TEST_F(Form2Test, ClosingEndsTheProgram) {
    results::Form2& form = open();
    form.show();
    EXPECT_TRUE(form.close());
    EXPECT_EQ(shell.endProgramCalls, 1);
}

TEST_F(Form2Test, TheFirstShowingIsCentredLaterOnesStayPut) {
    results::Form2& form = open();
    form.show();
    const QRect screen = form.screen()->availableGeometry();
    EXPECT_LE((form.geometry().center() - screen.center()).manhattanLength(), 4);
    form.hide();
    form.move(10, 20);
    form.show();
    EXPECT_EQ(form.pos(), QPoint(10, 20));
}

TEST_F(Form2Test, ThePointerFollowsTheControlUnderTheMouse) {
    results::Form2& form = open();
    form.show();
    constexpr auto kCustom = platform::PointerShape::Custom;
    constexpr auto kNormal = platform::PointerShape::Normal;
    const struct {
        QWidget* control;
        platform::PointerShape pointer;
    } table[] = {{form.PushButton1, kCustom}, {&form, kNormal},
                 {form.PushButton2, kCustom}, {form.Frame2, kNormal},
                 {form.PushButton8, kCustom}, {form.Option4, kNormal},
                 {form.PushButton8, kCustom}, {form.Frame4, kNormal},
                 {form.PushButton8, kCustom}, {form.ListView1->viewport(), kNormal},
                 {form.PushButton8, kCustom}, {form.Option6, kNormal}};
    for (const auto& row : table) {
        moveOver(row.control);
        EXPECT_EQ(form.MousePointer(), row.pointer) << row.control->objectName().toStdString();
    }
    // No picture beside the program: the custom pointer shows the arrow.
    moveOver(form.PushButton2);
    EXPECT_EQ(form.cursor().shape(), Qt::ArrowCursor);
    // The folder box has no pointer handling, and the hourglass stays.
    moveOver(form.Text2);
    EXPECT_EQ(form.MousePointer(), platform::PointerShape::Custom);
    form.SetMousePointer(platform::PointerShape::Hourglass);
    moveOver(form.Frame2);
    moveOver(form.PushButton1);
    EXPECT_EQ(form.MousePointer(), platform::PointerShape::Hourglass);
}

TEST_F(Form2Test, TheOutputOptionsShowNoBandsOnTheirFrame) {
    results::Form2& form = open();
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    const QImage shown = form.grab().toImage();
    const auto colourAt = [&](const QWidget* control, QPoint at) {
        return shown.pixelColor(control->mapTo(&form, at));
    };
    const QColor window = form.palette().color(QPalette::Window);
    for (const QGroupBox* frame : {form.Frame2, form.Frame4})
        EXPECT_EQ(colourAt(frame, {frame->width() - 8, frame->height() - 8}), window)
            << frame->objectName().toStdString();
    for (const QRadioButton* option : {form.Option4, form.Option5, form.Option6}) {
        SCOPED_TRACE(option->objectName().toStdString());
        const int right = option->width() - 1;
        const int bottom = option->height() - 1;
        for (const QPoint at : {QPoint(right, 0), QPoint(right, bottom), QPoint(right + 3, bottom)})
            EXPECT_EQ(colourAt(option, at), window) << at.x() << "," << at.y();
    }
}

TEST_F(Form2Test, TheListHeaderShowsTheResizePointerOverItsDivider) {
    results::Form2& form = open();
    form.show();
    QHeaderView* header = form.ListView1->horizontalHeader();
    const int divider = header->sectionViewportPosition(0) + header->sectionSize(0) - 1;
    moveOver(header->viewport(), QPointF(divider, header->height() / 2));
    EXPECT_EQ(header->cursor().shape(), Qt::SplitHCursor);
    EXPECT_EQ(form.MousePointer(), platform::PointerShape::Normal);
}

class FolderChooserTest : public testsupport::Form2Fixture {};

TEST_F(FolderChooserTest, AChosenFolderEndsInOneSeparator) {
    results::Form2& form = open();
    dialogs.answerChooseFolder("/home/ann/Names");
    form.PushButton1->click();
    dialogs.verifyAllShown();
    ASSERT_EQ(dialogs.shown().size(), 1u);
    EXPECT_EQ(dialogs.shown()[0].kind, "folder");
    EXPECT_EQ(dialogs.shown()[0].title, "Save To This Folder");
    EXPECT_EQ(form.Text2->text(), "/home/ann/Names/");
    EXPECT_EQ(stored("Text2"), "/home/ann/Names/");
    EXPECT_EQ(stored("LastFolderDot"), "/home/ann/Names");
}

TEST_F(FolderChooserTest, TheRootFolderKeepsItsOneSeparator) {
    results::Form2& form = open();
    dialogs.answerChooseFolder("/");
    form.PushButton1_Click();
    EXPECT_EQ(form.Text2->text(), "/");
    EXPECT_EQ(stored("Text2"), "/");
    EXPECT_EQ(stored("LastFolderDot"), "/");
}

TEST_F(FolderChooserTest, CancelChangesNothing) {
    temp.settings.writeText(platform::keys::LastChosenFolder, "/old");
    results::Form2& form = open();
    form.Text2->setText("/kept/");
    dialogs.answerChooseFolder("");
    form.PushButton1_Click();
    EXPECT_EQ(form.Text2->text(), "/kept/");
    EXPECT_EQ(stored("Text2"), "/kept/");
    EXPECT_EQ(stored("LastFolderDot"), "/old");
}

class CopyTest : public testsupport::Form2Fixture {
protected:
    results::Form2& openWith(const QStringList& names) {
        results::Form2& form = open();
        fill(names);
        form.show();
        QApplication::setActiveWindow(&form);
        form.ListView1->setFocus();
        QGuiApplication::clipboard()->setText("before");
        return form;
    }
    static QString clipboard() { return QGuiApplication::clipboard()->text(); }
};

TEST_F(CopyTest, CtrlASelectsEveryRowAsOneRangeAndCtrlCCopiesThemOnePerLine) {
    results::Form2& form = openWith({"Anna Berg", QString::fromUtf8("Zoë Øster"), "", "Tom"});
    QTest::keyClick(form.ListView1, Qt::Key_A, Qt::ControlModifier);
    const QItemSelection selection = form.ListView1->selectionModel()->selection();
    ASSERT_EQ(selection.size(), 1);
    EXPECT_EQ(selection[0].top(), 0);
    EXPECT_EQ(selection[0].bottom(), 3);
    QTest::keyClick(form.ListView1, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(clipboard(), QString::fromUtf8("Anna Berg\nZoë Øster\n\nTom"));
}

TEST_F(CopyTest, TheSelectedRowsAreCopiedInListOrderAndNoneLeaveTheClipboardAlone) {
    results::Form2& form = openWith({"Anna Berg", "Tom Hale", "Eve Moss", "Ida Lund"});
    QTest::keyClick(form.ListView1, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(clipboard(), "before");
    QItemSelectionModel& selection = *form.ListView1->selectionModel();
    const auto row = [&](int position) { return form.results().index(position); };
    selection.select(row(3), QItemSelectionModel::Select | QItemSelectionModel::Rows);
    selection.select(QItemSelection(row(0), row(1)),
                     QItemSelectionModel::Select | QItemSelectionModel::Rows);
    QTest::keyClick(form.ListView1, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(clipboard(), "Anna Berg\nTom Hale\nIda Lund");
}

TEST_F(CopyTest, TheListsContextMenuOffersCopyAndSelectAll) {
    results::Form2& form = openWith({"Anna Berg", "Tom Hale"});
    EXPECT_EQ(form.ListView1->contextMenuPolicy(), Qt::ActionsContextMenu);
    const QList<QAction*> actions = form.ListView1->actions();
    ASSERT_EQ(actions.size(), 2);
    EXPECT_EQ(actions[0]->text(), "Copy");
    EXPECT_EQ(actions[1]->text(), "Select All");
    actions[1]->trigger();
    actions[0]->trigger();
    EXPECT_EQ(clipboard(), "Anna Berg\nTom Hale");
}

}  // namespace
