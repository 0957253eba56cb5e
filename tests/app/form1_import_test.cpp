// The main window's imports: name files chosen in the file dialog or dropped on
// a list's frame.
#include <algorithm>
#include <vector>

#include <QApplication>
#include <QDir>
#include <QDropEvent>
#include <QFile>
#include <QGroupBox>
#include <QMimeData>
#include <QPushButton>
#include <QRadioButton>
#include <QTreeView>
#include <QUrl>
#include <QWindow>

#include <gtest/gtest.h>

#include "app/form1.h"
#include "form1_names.h"
#include "names/name_list_model.h"
#include "platform/pointer.h"
#include "support/form1_fixture.h"
#include "support/open_handles.h"
#include "support/scripted_dialogs.h"
#include "support/temp_database.h"

namespace {

using testsupport::Form1Names;
using testsupport::Report;

// --- importing -------------------------------------------------------------

TEST_F(Form1Names, ImportingStoresOneNamePerLineWhateverTheLineEnds) {
    chooseUserList();
    start();
    const QString path =
        writeFile("last.txt", "Ann\r\n\r\nBob\nCy\rO'Neil\r\n   \r\n" + QByteArray(60, 'z'));
    dialogs.answerOpenFiles({path});
    form->PushButton7->click();
    ASSERT_EQ(dialogs.shown().size(), 1u);
    EXPECT_EQ(dialogs.shown()[0].title, "Load List(s) - Hold Ctrl to select multiple list files");
    EXPECT_EQ(dialogs.shown()[0].text, "Text Files (*.txt);;All Files (*)");
    EXPECT_EQ(db->names("user_lastname"),
              (QStringList{"Vance", "Ward", "Ann", "Bob", "Cy", "ONeil", "   ", QString(50, 'z')}));
    EXPECT_TRUE(lastShown().contains("Oneil"));
    EXPECT_EQ(db->names("user_firstname"), QStringList{"Ulla"});
    EXPECT_EQ(form->MousePointer(), platform::PointerShape::Normal);

    dialogs.answerOpenFiles({writeFile("first.txt", "Jos\xE9\nZo\xEB\n")});
    form->PushButton6->click();
    EXPECT_EQ(db->names("user_firstname"), (QStringList{"Ulla", "José", "Zoë"}));
}

TEST_F(Form1Names, BuiltInFirstNamesImportIntoTheFemaleTableAndRepeatsStoreTwice) {
    start();
    form->Option2->click();
    const QString path = writeFile("first.txt", "Ines\r\n");
    dialogs.answerOpenFiles({path, path});
    form->PushButton6->click();
    EXPECT_EQ(db->names("system_ffirstname"),
              (QStringList{"ANNA", "Dora", "anna", "Ines", "Ines"}));
    EXPECT_FALSE(firstShown().contains("Ines"));
    form->Option1->click();
    EXPECT_EQ(firstShown().count("Ines"), 1);

    dialogs.answerOpenFiles({writeFile("last.txt", "Kerr\n"), files.filePath("last.txt")});
    form->PushButton7->click();
    EXPECT_EQ(lastShown().count("Kerr"), 2);
}

TEST_F(Form1Names, SeveralFilesImportInTurnPastAMissingFileAndAFolder) {
    chooseUserList();
    start();
    const QString folder = files.filePath("folder");
    ASSERT_TRUE(QDir().mkdir(folder));
    dialogs.answerOpenFiles({writeFile("a.txt", "Ash\n"), files.filePath("gone.txt"), folder,
                             files.path() + "//b.txt", writeFile("empty.txt", "")});
    writeFile("b.txt", "Birch\r\n");
    // Each file is imported with its own connection, one at a time.
    QList<int> handlesAtMessages;
    dialogs.expectMessageBox(2,
                             [&] { handlesAtMessages << testsupport::openHandlesTo(db->path()); });
    form->PushButton6->click();
    ASSERT_EQ(handlesAtMessages.size(), 2);
    EXPECT_LE(*std::max_element(handlesAtMessages.begin(), handlesAtMessages.end()), 1);
    EXPECT_EQ(testsupport::openHandlesTo(db->path()), 0);
    EXPECT_EQ(db->names("user_firstname"), (QStringList{"Ulla", "Ash", "Birch"}));
    const auto& shown = dialogs.shown();
    ASSERT_EQ(shown.size(), 3u);
    EXPECT_EQ(shown[1].text, "File not found");
    EXPECT_EQ(shown[1].style, platform::MessageStyle::Ok);
    EXPECT_EQ(shown[1].title, form->applicationTitle());
    EXPECT_EQ(reportedAt(), QStringList{"Main.FileToListview 108"});
    EXPECT_EQ(firstShown(), (QStringList{"Ash", "Birch", "Ulla"}));
}

TEST_F(Form1Names, CancellingTheDialogChangesNothing) {
    start();
    form->SetMousePointer(platform::PointerShape::Custom);
    dialogs.answerOpenFiles({});
    form->PushButton7->click();
    EXPECT_EQ(form->MousePointer(), platform::PointerShape::Custom);
    EXPECT_EQ(db->names("system_lastname").size(), 3);
}

TEST_F(Form1Names, WithoutTheDatabaseEachFileIsReportedOnceAndTheReloadAt140) {
    start();
    const QString path = writeFile("last.txt", "Ann\nBob\nCy\n");
    QFile::remove(db->path());
    dialogs.answerOpenFiles({path, path});
    dialogs.expectMessageBox(3);
    form->PushButton7->click();
    EXPECT_EQ(reportedAt(), (QStringList{"Main.FileToListview 106", "Main.FileToListview 106",
                                         "Form1.PushButton7_Click 140"}));
    EXPECT_EQ(form->MousePointer(), platform::PointerShape::Normal);
}

TEST_F(Form1Names, RefusedInsertsAreReportedAtTheirOwnStatementAndTheImportGoesOn) {
    chooseUserList();
    start();
    db->execute(
        "create trigger refuse before insert on user_lastname when new.lastname = 'Bad' "
        "begin select raise(abort, 'refused'); end");
    db->execute("drop table user_firstname");
    dialogs.answerOpenFiles({writeFile("last.txt", "Bad\nBad\r\nBad\r\nOk\r\nBad\n")});
    dialogs.expectMessageBox(4);
    form->PushButton7->click();
    // Before a line feed, after the last one, alone on a line; a repeat is not shown again.
    EXPECT_EQ(reportedAt(),
              (QStringList{"Main.FileToListview 144", "Main.FileToListview 168",
                           "Main.FileToListview 190", "Form1.PushButton7_Click 140"}));
    const std::vector<Report> got = reports();
    ASSERT_EQ(got.size(), 4u);
    EXPECT_EQ(got[0].description, "refused");
    EXPECT_EQ(got[3].description, "no such table: user_firstname");
    EXPECT_EQ(db->names("user_lastname"), (QStringList{"Vance", "Ward", "Ok"}));
}

// --- dropping files on the lists --------------------------------------------

class Form1Drops : public Form1Names {
protected:
    // A drag from the file manager entering the window over `target`, and its
    // drop there; true when the window took the drop.
    bool dropOn(QWidget* target, const QList<QUrl>& urls) {
        QMimeData data;
        data.setUrls(urls);
        QWindow* window = form->windowHandle();
        const QPointF at = target->mapTo(form.get(), target->rect().center());
        QDragEnterEvent enter(at.toPoint(), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(window, &enter);
        if (!enter.isAccepted()) return false;
        QDropEvent drop(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(window, &drop);
        QApplication::processEvents();  // the import follows the drop
        return drop.isAccepted();
    }
    static QUrl local(const QString& path) { return QUrl::fromLocalFile(path); }
};

TEST_F(Form1Drops, FilesDroppedOnAListImportLikeTheLoadButtonOfItsFrame) {
    chooseUserList();
    start();
    form->show();
    ASSERT_TRUE(dropOn(form->ListView1, {local(writeFile("a.txt", "Ash\nO'Hara\n")),
                                         local(writeFile("b.txt", "Birch\r\n"))}));
    EXPECT_EQ(db->names("user_firstname"), (QStringList{"Ulla", "Ash", "OHara", "Birch"}));
    EXPECT_EQ(firstShown(), (QStringList{"Ash", "Birch", "Ohara", "Ulla"}));
    ASSERT_TRUE(dropOn(form->PushButton7, {local(writeFile("c.txt", "Cole"))}));
    EXPECT_EQ(db->names("user_lastname"), (QStringList{"Vance", "Ward", "Cole"}));
    EXPECT_EQ(form->MousePointer(), platform::PointerShape::Normal);
    EXPECT_TRUE(dialogs.shown().empty());
}

TEST_F(Form1Drops, OnlyLocalFilesOnAListFrameAreTaken) {
    chooseUserList();
    start();
    form->show();
    const QString folder = files.filePath("folder");
    ASSERT_TRUE(QDir().mkdir(folder));
    const QUrl file = local(writeFile("a.txt", "Ash\n"));
    const struct {
        QWidget* target;
        QList<QUrl> urls;
    } refused[] = {{form->ListView1, {QUrl("https://example.org/names.txt")}},
                   {form->ListView1, {file, local(folder)}},
                   {form->ListView2, {}},
                   {form->Frame2, {file}},
                   {form->PushButton1, {file}}};
    for (const auto& drag : refused) EXPECT_FALSE(dropOn(drag.target, drag.urls));
    EXPECT_EQ(db->names("user_firstname"), QStringList{"Ulla"});
    EXPECT_EQ(db->names("user_lastname"), (QStringList{"Vance", "Ward"}));
}

TEST_F(Form1Drops, ADropReportsAsTheLoadButtonDoes) {
    start();
    const QString path = writeFile("last.txt", "Ann\n");
    dialogs.expectMessageBox();
    form->Frame5_DragDrop({files.filePath("gone.txt")});
    EXPECT_EQ(dialogs.messages(), QStringList{"File not found"});
    QFile::remove(db->path());
    dialogs.expectMessageBox(2);
    form->Frame5_DragDrop({path});
    EXPECT_EQ(reportedAt(),
              (QStringList{"Main.FileToListview 106", "Form1.PushButton7_Click 140"}));
    EXPECT_EQ(form->MousePointer(), platform::PointerShape::Normal);
}

}  // namespace
