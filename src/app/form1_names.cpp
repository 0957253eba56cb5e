// The main window's name-list procedures: list load, list options, editing, importing.
#include <optional>

#include <QDateTime>
#include <QDropEvent>
#include <QFileInfo>
#include <QGroupBox>
#include <QItemSelectionModel>
#include <QMimeData>
#include <QPushButton>
#include <QRadioButton>
#include <QTreeView>
#include <QUrl>

#include "app/form1.h"
#include "guarded/failure_report.h"
#include "names/file_import.h"
#include "names/list_load.h"
#include "names/name_file.h"
#include "names/name_list_model.h"
#include "names/statements.h"
#include "platform/database.h"
#include "platform/dialogs.h"
#include "platform/failure.h"
#include "platform/files.h"
#include "platform/pointer.h"
#include "platform/settings.h"
#include "widgets/failure_box.h"

namespace app {

using guarded::locationTag;
using guarded::Procedure;
using widgets::WindowProcedure;

namespace {

namespace keys = platform::keys;
using names::AddTo;
using names::RemoveFrom;

const QString kLoadTitle = QStringLiteral("Load List(s) - Hold Ctrl to select multiple list files");
const QString kLoadFilter = QStringLiteral("Text Files (*.txt);;All Files (*)");

names::ListOptions listOptionsOf(const Form1& form) {
    return {form.Option9->isChecked(), form.Option8->isChecked(), form.Option1->isChecked(),
            form.Option2->isChecked(), form.Option3->isChecked()};
}

std::optional<int> selectedRow(const QTreeView* view) {
    const QModelIndexList rows = view->selectionModel()->selectedRows();
    if (rows.isEmpty()) return std::nullopt;
    return rows.first().row();
}

// The stored name the selected entry was shown from: a deletion removes the
// rows it came from, also where its proper case does not fold back to them.
QString selectedStoredName(const QTreeView* view, const names::NameListModel& list) {
    const std::optional<int> row = selectedRow(view);
    if (!row) throw platform::Failure(QStringLiteral("No name is selected in the list"));
    return list.storedName(*row);
}

// A list-source option became chosen: captions, stored options, gender options, reload.
void listSourceChosen(Form1& form, bool genderOptionsEnabled) {
    const QString caption =
        form.Option8->isChecked() ? QStringLiteral("Clear") : QStringLiteral("Delete");
    form.PushButton4->setText(caption);
    form.PushButton3->setText(caption);
    platform::Settings& settings = form.environment().settings;
    settings.writeOption(keys::BuiltInList, form.Option9->isChecked());
    settings.writeOption(keys::UserList, form.Option8->isChecked());
    for (QRadioButton* option : {form.Option1, form.Option2, form.Option3})
        option->setEnabled(genderOptionsEnabled);
    form.originButton->setEnabled(genderOptionsEnabled);
    form.DatabaseToListview();
}

// "Add First Name" and "Add Last Name": asks for a name and stores it in the
// current list. The input box is shown while the connection is open.
void addTypedName(Form1& form, Procedure& procedure, const QString& prompt, AddTo builtIn,
                  AddTo user) {
    platform::Database database;  // a connection of its own, not open yet
    procedure.run(106, [&] { database.open(form.databasePath()); });
    QString name;
    procedure.run(108, [&] {
        name = names::removeApostrophes(
            form.environment().dialogs.inputBox(prompt, form.applicationTitle()));
    });
    // Only the test for emptiness trims: a stored name keeps its blanks.
    if (!procedure.test(110, [&] { return name.trimmed().isEmpty(); })) {
        if (procedure.test(112, [&] { return form.Option9->isChecked(); }))
            procedure.run(114, [&] { names::addName(database, builtIn, name); });
        else if (procedure.test(116, [&] { return form.Option8->isChecked(); }))
            procedure.run(118, [&] { names::addName(database, user, name); });
    }
    procedure.run(120, [&] { database.close(); });
    procedure.run(122, [&] { form.DatabaseToListview(); });
}

// The load buttons' procedure once the files are chosen, whether in the dialog
// or by dropping them on the list's frame.
void importChosenFiles(Form1& form, Procedure& procedure, const QStringList& paths,
                       names::NameKind kind) {
    platform::Dialogs& dialogs = form.environment().dialogs;
    if (procedure.test(110, [&] { return paths.isEmpty(); })) return;
    procedure.run(114, [&] { form.SetMousePointer(platform::PointerShape::Hourglass); });
    widgets::FailureBox failureBox(dialogs);
    const QString title = form.applicationTitle();
    const names::ImportContext context{
        failureBox,
        [&dialogs, &title](const QString& text) {
            dialogs.messageBox(text, platform::MessageStyle::Ok, title);
        },
        form.databasePath(), form.Option9->isChecked(), form.Option8->isChecked()};
    if (procedure.test(116, [&] { return paths.size() == 1; })) {
        // One file: imported under its path exactly as the dialog gave it.
        procedure.run(120, [&] { names::FileToListview(context, paths.first(), kind); });
    } else if (procedure.test(122, [&] { return paths.size() >= 2; })) {
        for (const QString& chosen : paths) {
            QString path = chosen;
            procedure.run(132, [&] { path = platform::NormalizePath(path); });
            procedure.run(134, [&] { names::FileToListview(context, path, kind); });
        }
    }
    procedure.run(138, [&] { form.SetMousePointer(platform::PointerShape::Normal); });
    procedure.run(140, [&] { form.DatabaseToListview(); });
}

// "Load First Names From File" and "Load Last Names From File".
void importFiles(Form1& form, const char* procedureName, names::NameKind kind) {
    platform::Dialogs& dialogs = form.environment().dialogs;
    WindowProcedure procedure(dialogs, locationTag("Form1", procedureName));
    QStringList paths;
    procedure.run(108, [&] { paths = dialogs.openFiles(&form, kLoadTitle, kLoadFilter); });
    importChosenFiles(form, procedure, paths, kind);
}

// Files dropped on a list's frame: the load button's procedure and reports.
void importDroppedFiles(Form1& form, const char* procedureName, names::NameKind kind,
                        const QStringList& paths) {
    WindowProcedure procedure(form.environment().dialogs, locationTag("Form1", procedureName));
    importChosenFiles(form, procedure, paths, kind);
}

// The local files of a drag from the file manager; none when anything else
// comes along (a web address, a folder), which the load buttons could not choose.
QStringList droppedFiles(const QMimeData* data) {
    QStringList paths;
    if (!data || !data->hasUrls()) return paths;
    for (const QUrl& url : data->urls()) {
        if (!url.isLocalFile() || QFileInfo(url.toLocalFile()).isDir()) return {};
        paths << url.toLocalFile();
    }
    return paths;
}

// Double-click or the Delete key: drops the selected entry from its view only.
void dropSelectedEntry(const Form1& form, const QTreeView* view, names::NameListModel& list) {
    if (form.MousePointer() == platform::PointerShape::Hourglass) return;
    if (list.count() == 0) return;
    // With nothing selected there is nothing to drop.
    if (const std::optional<int> row = selectedRow(view)) list.removeAt(*row);
}

// The options of a list load and the state of the database's files (size
// and time of the last change of the file and its write-ahead log): equal
// states give equal lists.
QString listLoadState(const QString& databasePath, const names::ListOptions& options) {
    QString state = QStringLiteral("%1%2%3%4%5 %6")
                        .arg(options.builtInList)
                        .arg(options.userList)
                        .arg(options.both)
                        .arg(options.maleOnly)
                        .arg(options.femaleOnly)
                        .arg(options.origins.join(','));
    for (const QString& path : {databasePath, databasePath + QStringLiteral("-wal")}) {
        const QFileInfo file(path);
        state += QStringLiteral(" %1:%2")
                     .arg(file.size())
                     .arg(file.exists() ? file.lastModified().toMSecsSinceEpoch() : -1);
    }
    return state;
}

}  // namespace

void Form1::DatabaseToListview() {
    names::ListOptions options = listOptionsOf(*this);
    options.origins = currentOrigins().tags();
    // Restoring the stored options at start-up reloads the lists after each
    // option; with the same options over an unchanged file the load would
    // read what the lists already hold.
    if (loadingForm_ && !lastLoad_.isEmpty() && lastLoad_ == listLoadState(databasePath(), options))
        return;
    lastLoad_.clear();
    names::loadLists(databasePath(), options, *firstNames_, *lastNames_,
                     [this](platform::PointerShape pointer) { SetMousePointer(pointer); });
    lastLoad_ = listLoadState(databasePath(), options);
    showOriginCaption();
}

void Form1::Option1_Click() {
    env_.settings.writeOption(keys::BothGenders, Option1->isChecked());
    env_.settings.writeOption(keys::MaleOnly, Option2->isChecked());
    env_.settings.writeOption(keys::FemaleOnly, Option3->isChecked());
    DatabaseToListview();
}

void Form1::Option2_Click() {
    Option1_Click();
}

void Form1::Option3_Click() {
    Option1_Click();
}

void Form1::Option8_Click() {
    listSourceChosen(*this, false);
}

void Form1::Option9_Click() {
    listSourceChosen(*this, true);
}

void Form1::PushButton2_Click() {
    WindowProcedure procedure(env_.dialogs, locationTag("Form1", "PushButton2_Click"));
    addTypedName(*this, procedure, QStringLiteral("Input first name: "), AddTo::BuiltInFirstNames,
                 AddTo::UserFirstNames);
}

void Form1::PushButton5_Click() {
    WindowProcedure procedure(env_.dialogs, locationTag("Form1", "PushButton5_Click"));
    addTypedName(*this, procedure, QStringLiteral("Input last name: "), AddTo::BuiltInLastNames,
                 AddTo::UserLastNames);
    procedure.run(124, [this] { SetMousePointer(platform::PointerShape::Normal); });
}

void Form1::PushButton4_Click() {
    WindowProcedure procedure(env_.dialogs, locationTag("Form1", "PushButton4_Click"));
    if (procedure.test(100, [this] { return firstNames_->count() == 0; })) return;
    platform::Database database;
    procedure.run(106, [&] { database.open(databasePath()); });
    const auto remove = [&](int number, RemoveFrom table) {
        procedure.run(number, [&] {
            names::removeName(database, table, selectedStoredName(ListView1, *firstNames_));
        });
    };
    if (procedure.test(108, [this] { return Option9->isChecked(); })) {
        if (procedure.test(110, [this] { return Option1->isChecked(); })) {
            remove(112, RemoveFrom::BuiltInMaleFirstNames);
            remove(114, RemoveFrom::BuiltInFemaleFirstNames);
        } else if (procedure.test(116, [this] { return Option2->isChecked(); })) {
            remove(118, RemoveFrom::BuiltInMaleFirstNames);
        } else if (procedure.test(120, [this] { return Option3->isChecked(); })) {
            remove(122, RemoveFrom::BuiltInFemaleFirstNames);
        }
    } else if (procedure.test(124, [this] { return Option8->isChecked(); })) {
        procedure.run(126, [&] { names::emptyTable(database, names::UserTable::FirstNames); });
    }
    procedure.run(128, [&] { database.close(); });
    procedure.run(130, [this] { DatabaseToListview(); });
}

void Form1::PushButton3_Click() {
    WindowProcedure procedure(env_.dialogs, locationTag("Form1", "PushButton3_Click"));
    if (procedure.test(100, [this] { return lastNames_->count() == 0; })) return;
    platform::Database database;
    procedure.run(106, [&] { database.open(databasePath()); });
    if (procedure.test(108, [this] { return Option9->isChecked(); })) {
        procedure.run(110, [&] {
            names::removeName(database, RemoveFrom::BuiltInLastNames,
                              selectedStoredName(ListView2, *lastNames_));
        });
    } else if (procedure.test(112, [this] { return Option8->isChecked(); })) {
        procedure.run(114, [&] { names::emptyTable(database, names::UserTable::LastNames); });
    }
    procedure.run(116, [&] { database.close(); });
    procedure.run(118, [this] { DatabaseToListview(); });
}

void Form1::PushButton6_Click() {
    importFiles(*this, "PushButton6_Click", names::NameKind::First);
}

void Form1::PushButton7_Click() {
    importFiles(*this, "PushButton7_Click", names::NameKind::Last);
}

void Form1::Frame6_DragDrop(const QStringList& paths) {
    importDroppedFiles(*this, "PushButton6_Click", names::NameKind::First, paths);
}

void Form1::Frame5_DragDrop(const QStringList& paths) {
    importDroppedFiles(*this, "PushButton7_Click", names::NameKind::Last, paths);
}

bool Form1::listFrameDragEvent(QObject* frame, QEvent* event) {
    if (frame != Frame6 && frame != Frame5) return false;
    if (event->type() == QEvent::DragEnter || event->type() == QEvent::DragMove) {
        auto* drag = static_cast<QDragMoveEvent*>(event);
        if (!droppedFiles(drag->mimeData()).isEmpty())
            drag->acceptProposedAction();
        else
            drag->ignore();
        return true;
    }
    auto* drop = static_cast<QDropEvent*>(event);
    const QStringList paths = droppedFiles(drop->mimeData());
    if (paths.isEmpty()) return false;
    drop->acceptProposedAction();
    // The import runs once the drop is over, so the file manager is not kept
    // waiting for its end.
    const bool firstNames = frame == Frame6;
    QMetaObject::invokeMethod(
        this,
        [this, firstNames, paths] {
            if (firstNames)
                Frame6_DragDrop(paths);
            else
                Frame5_DragDrop(paths);
        },
        Qt::QueuedConnection);
    return true;
}

void Form1::ListView1_DblClick() {
    dropSelectedEntry(*this, ListView1, *firstNames_);
}

void Form1::ListView2_DblClick() {
    dropSelectedEntry(*this, ListView2, *lastNames_);
}

void Form1::ListView1_KeyDown(int keyCode, int) {
    if (keyCode == kDeleteKeyCode) dropSelectedEntry(*this, ListView1, *firstNames_);
}

void Form1::ListView2_KeyDown(int keyCode, int) {
    if (keyCode == kDeleteKeyCode) dropSelectedEntry(*this, ListView2, *lastNames_);
}

}  // namespace app
