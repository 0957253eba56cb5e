#include "app/form1.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCloseEvent>
#include <QDir>
#include <QGroupBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTreeView>

#include "app/draw_keys.h"
#include "guarded/failure_report.h"
#include "names/database_location.h"
#include "names/name_list_model.h"
#include "platform/dialogs.h"
#include "platform/files.h"
#include "platform/pointer.h"
#include "platform/settings.h"
#include "platform/shell.h"
#include "results/form2.h"
#include "widgets/application_title.h"
#include "widgets/centred_window.h"
#include "widgets/controls.h"
#include "widgets/failure_box.h"
#include "widgets/program_icon.h"
#include "widgets/progress_bar.h"
#include "widgets/twips.h"

namespace app {

using guarded::locationTag;
using guarded::Procedure;
using widgets::centreOnFirstShowing;
using widgets::kProductTitle;
using widgets::makeButton;
using widgets::makeFrame;
using widgets::makeOption;
using widgets::makeTextBox;
using widgets::paintBackground;
using widgets::placeInTwips;
using widgets::programIcon;
using widgets::ProgressBar;
using widgets::setUpFixedWindow;
using widgets::twipsToPixels;
using widgets::WindowProcedure;

namespace {

const QString kHelpText = QStringLiteral(
    "You have two options for generating: \r\r"
    "1. You can generate from Amberlin's List which contains my collection of first and last "
    "names.\r\r"
    "2. You can generate using your User List. In this case, names can be loaded from a text "
    "file or added one at a time.");

constexpr int kListColumnTwips = 6500;

QTreeView* makeListView(QWidget* parent, const char* name, names::NameListModel* model) {
    auto* view = new QTreeView(parent);
    view->setObjectName(QLatin1String(name));
    view->setRootIsDecorated(false);
    view->setUniformRowHeights(true);
    view->setItemsExpandable(false);
    view->setSelectionMode(QAbstractItemView::SingleSelection);
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->setModel(model);
    // The column keeps the width it is given; the user widens it by its divider.
    view->header()->setStretchLastSection(false);
    view->setToolTip(
        QStringLiteral("Move | line to right and out of window to reveal full names."));
    placeInTwips(view, 240, 300, 7320, 1320);
    return view;
}

// The key code a key-down procedure receives. Space, digits and letters have
// the same codes as Qt's values; other keys get none, since Qt's values for
// them may equal another key's code (the full stop's is the Delete key's 46).
int keyCodeOf(const QKeyEvent* event) {
    const int key = event->key();
    if (key == Qt::Key_Delete) return kDeleteKeyCode;
    const bool sameCode = key == Qt::Key_Space || (key >= Qt::Key_0 && key <= Qt::Key_9) ||
                          (key >= Qt::Key_A && key <= Qt::Key_Z);
    return sameCode ? key : 0;
}

int shiftStateOf(const QKeyEvent* event) {
    const Qt::KeyboardModifiers modifiers = event->modifiers();
    return (modifiers & Qt::ShiftModifier ? 1 : 0) | (modifiers & Qt::ControlModifier ? 2 : 0) |
           (modifiers & Qt::AltModifier ? 4 : 0);
}

}  // namespace

Form1::Form1(widgets::Environment environment)
    : env_(std::move(environment)), pointer_(new widgets::WindowPointer(this)) {
    buildControls();
    connectEvents();
    Form_Load();
}

Form1::~Form1() = default;

QString Form1::databasePath() const {
    if (!env_.databasePath.isEmpty()) return env_.databasePath;
    return QDir(env_.programFolder).filePath(names::kNameDatabaseFileName);
}

void Form1::buildControls() {
    setUpFixedWindow(this, "Form1", 8040, 10965);
    centreOnFirstShowing(this);

    firstNames_ = new names::NameListModel(this);
    lastNames_ = new names::NameListModel(this);

    PushButton8 = makeButton(this, "PushButton8", "Help", 120, 120, 7800, 405);
    Frame4 = makeFrame(this, "Frame4", "List Options", 120, 570, 7800, 1850);
    Option9 = makeOption(Frame4, "Option9",
                         "Amberlin's List - Generate random names from my list of names", 240, 300,
                         6300, 255);
    Option9->setChecked(true);
    Frame1 =
        makeFrame(Frame4, "Frame1", "Gender Options (Amberlin's List Only)", 600, 570, 4320, 735);
    Option1 = makeOption(Frame1, "Option1", "Both", 240, 300, 1020, 255);
    Option1->setChecked(true);
    Option2 = makeOption(Frame1, "Option2", "Male Only", 1260, 300, 1335, 255);
    Option3 = makeOption(Frame1, "Option3", "Female Only", 2610, 300, 1455, 255);
    Option8 =
        makeOption(Frame4, "Option8", "User List - Generate random names from your list of names",
                   225, 1440, 6015, 255);
    // Each option group is a button group of its own: the gender options sit
    // inside the frame of the list-source options and must not join that group.
    groupOptions({Option9, Option8});
    groupOptions({Option1, Option2, Option3});
    Frame2 = makeFrame(this, "Frame2", "Part Of Name", 120, 2460, 7800, 825);
    Option4 = makeOption(Frame2, "Option4", "First and Last Name", 240, 360, 2100, 255);
    Option4->setChecked(true);
    Option5 = makeOption(Frame2, "Option5", "First Name Only", 2460, 360, 1695, 255);
    Option6 = makeOption(Frame2, "Option6", "Last Name Only", 4290, 360, 1695, 255);
    groupOptions({Option4, Option5, Option6});
    Frame3 = makeFrame(this, "Frame3", "How many names would you like to generate?", 120, 3315,
                       7800, 825);
    Text1 = makeTextBox(Frame3, "Text1", QStringLiteral("Text1"), 240, 300, 7305, 375);

    Frame6 = makeFrame(this, "Frame6", "First Names", 120, 4170, 7800, 2805);
    ListView1 = makeListView(Frame6, "ListView1", firstNames_);
    PushButton2 = makeButton(Frame6, "PushButton2", "Add First Name", 240, 1710, 3600, 405);
    PushButton6 =
        makeButton(Frame6, "PushButton6", "Load First Names From File", 3940, 1710, 3600, 405);
    PushButton4 = makeButton(Frame6, "PushButton4", "Delete", 240, 2220, 7320, 405);

    Frame5 = makeFrame(this, "Frame5", "Last Names", 120, 7020, 7800, 2805);
    ListView2 = makeListView(Frame5, "ListView2", lastNames_);
    PushButton5 = makeButton(Frame5, "PushButton5", "Add Last Name", 240, 1710, 3600, 400);
    PushButton7 =
        makeButton(Frame5, "PushButton7", "Load Last Names From File", 3975, 1710, 3600, 405);
    PushButton3 = makeButton(Frame5, "PushButton3", "Delete", 240, 2220, 7320, 405);

    PushButton1 = makeButton(this, "PushButton1", "Start Generating", 120, 9945, 7800, 405);
    ProgressBar1 = new ProgressBar(this);
    ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
    ProgressBar1->rest();
    ProgressBar1->setFocusPolicy(Qt::NoFocus);
    placeInTwips(ProgressBar1, 120, 10455, 7800, 405);

    // As laid out, the window, its frames and its options are white.
    for (QWidget* widget : std::initializer_list<QWidget*>{
             this, Frame1, Frame2, Frame3, Frame4, Frame5, Frame6, Option1, Option2, Option3,
             Option4, Option5, Option6, Option8, Option9})
        paintBackground(widget, Qt::white);

    widgets::setTabOrder({Text1, ListView1, PushButton2, PushButton6, PushButton4, ListView2,
                          PushButton5, PushButton7, PushButton3, PushButton1, PushButton8, Option9,
                          Option1, Option2, Option3, Option8, Option4, Option5, Option6});
    buildOriginControls();
}

void Form1::groupOptions(std::initializer_list<QRadioButton*> options) {
    auto* group = new QButtonGroup(this);
    for (QRadioButton* option : options) group->addButton(option);
}

void Form1::connectEvents() {
    const QList<QPushButton*> buttons{PushButton1, PushButton2, PushButton3, PushButton4,
                                      PushButton5, PushButton6, PushButton7, PushButton8};
    const std::array<void (Form1::*)(), 8> clicks{
        &Form1::PushButton1_Click, &Form1::PushButton2_Click, &Form1::PushButton3_Click,
        &Form1::PushButton4_Click, &Form1::PushButton5_Click, &Form1::PushButton6_Click,
        &Form1::PushButton7_Click, &Form1::PushButton8_Click};
    for (int i = 0; i < buttons.size(); ++i)
        connect(buttons[i], &QPushButton::clicked, this,
                [this, click = clicks[i]] { (this->*click)(); });

    for (QRadioButton* option :
         {Option1, Option2, Option3, Option4, Option5, Option6, Option8, Option9}) {
        connect(option, &QRadioButton::toggled, this, [this, option](bool checked) {
            if (!checked || restoring_) return;
            runUnguarded(qPrintable(option->objectName() + "_Click"), clickHandlerOf(option));
        });
    }

    connect(Text1, &QLineEdit::textChanged, this,
            [this] { runUnguarded("Text1_Change", [this] { Text1_Change(); }); });
    connect(ListView1, &QTreeView::doubleClicked, this,
            [this] { runUnguarded("ListView1_DblClick", [this] { ListView1_DblClick(); }); });
    connect(ListView2, &QTreeView::doubleClicked, this,
            [this] { runUnguarded("ListView2_DblClick", [this] { ListView2_DblClick(); }); });

    // The name lists' frames take text files dropped from the file manager.
    for (QGroupBox* frame : {Frame6, Frame5}) frame->setAcceptDrops(true);

    // Keys in the name lists, the focus of the count box, files dragged to the
    // name lists' frames.
    for (QWidget* watched :
         std::initializer_list<QWidget*>{ListView1, ListView2, Text1, Frame6, Frame5})
        watched->installEventFilter(this);

    pointer_->track({Option8, Option9, ListView1, ListView2});
}

std::function<void()> Form1::clickHandlerOf(QRadioButton* option) {
    if (option == Option1) return [this] { Option1_Click(); };
    if (option == Option2) return [this] { Option2_Click(); };
    if (option == Option3) return [this] { Option3_Click(); };
    if (option == Option4) return [this] { Option4_Click(); };
    if (option == Option5) return [this] { Option5_Click(); };
    if (option == Option6) return [this] { Option6_Click(); };
    if (option == Option8) return [this] { Option8_Click(); };
    return [this] { Option9_Click(); };
}

void Form1::runUnguarded(const char* procedure, const std::function<void()>& body) {
    widgets::runUnguarded(env_.dialogs, "Form1", procedure, body);
}

void Form1::Form_Load() {
    WindowProcedure procedure(env_.dialogs, locationTag("Form1", "Form_Load"));
    procedure.run(100, [this] { ApplySkin(); });
    const QString handPicture = widgets::WindowPointer::handPicturePath(env_.programFolder);
    if (procedure.test(104, [&] { return platform::FileExists(handPicture); }))
        procedure.run(106, [&] { pointer_->loadHandPicture(handPicture); });
    procedure.run(108, [this] { seedAndMaybeOpenHomePage(); });
    procedure.run(126, [this] { setCaptionIconAndTitle(); });
    procedure.run(128, [this] { lastNames_->setHeader(QStringLiteral("Last Names")); });
    procedure.run(130, [this] { ListView2->setColumnWidth(0, twipsToPixels(kListColumnTwips)); });
    procedure.run(132, [this] { firstNames_->setHeader(QStringLiteral("First Names")); });
    procedure.run(134, [this] { ListView1->setColumnWidth(0, twipsToPixels(kListColumnTwips)); });
    procedure.run(136, [this] { DatabaseToListview(); });
    loadingForm_ = true;
    restoreStoredOptions(procedure);
    loadingForm_ = false;
    procedure.run(154, [this] { Text1->setText(env_.settings.readText(platform::keys::Count)); });
    procedure.run(156, [this] { storeDefaultOrigin(); });
    procedure.run(158, [this] { reportUnreadableOrigin(); });
    DrawKeys stored;
    procedure.run(160, [&] {
        stored = drawKeys();
        reportUnreadable(stored.unreadableWeighted);
    });
    procedure.run(162, [&] { reportUnreadable(stored.unreadableBorn); });
    procedure.run(164, [&] { reportUnreadable(stored.unreadableInvent); });
    // The first run's draw is made while the window is shown.
    prepareDraw();
    // The count box is first in the tab order: it has the focus, its text selected.
    Text1->setFocus();
    Text1_GotFocus();
}

void Form1::ApplySkin() {
    if (!platform::FileExists(QDir(env_.programFolder).filePath("x/o.cjs"))) return;
    const QColor buttonFace = QApplication::palette().color(QPalette::Button);
    paintBackground(this, buttonFace);
    for (QWidget* child : findChildren<QWidget*>()) {
        if (qobject_cast<QRadioButton*>(child) || qobject_cast<QGroupBox*>(child))
            paintBackground(child, buttonFace);
    }
}

bool drawsHomePageVisit(generate::RandomGenerator& random) {
    return generate::RandomIndex(random, 100) == 7;
}

void Form1::seedAndMaybeOpenHomePage() {
    random_.seedFromTimeOfDay();
    if (drawsHomePageVisit(random_)) env_.shell.openUrl(QLatin1String(kHomePage));
}

void Form1::setCaptionIconAndTitle() {
    setWindowTitle(QLatin1String(kProductTitle));
    setWindowIcon(programIcon());
    applicationTitle_ = widgets::applicationTitle(QLatin1String(kProductTitle));
    // The name the window system lists the program under (a display name would
    // also be appended to every window title).
    QCoreApplication::setApplicationName(applicationTitle_);
}

void Form1::restoreStoredOptions(Procedure& procedure) {
    namespace keys = platform::keys;
    const struct {
        int statement;
        QRadioButton* option;
        platform::OptionKey key;
    } steps[] = {{138, Option9, keys::BuiltInList},   {140, Option8, keys::UserList},
                 {142, Option1, keys::BothGenders},   {144, Option2, keys::MaleOnly},
                 {146, Option3, keys::FemaleOnly},    {148, Option4, keys::FirstAndLastName},
                 {150, Option5, keys::FirstNameOnly}, {152, Option6, keys::LastNameOnly}};
    for (const auto& step : steps) {
        procedure.run(step.statement,
                      [&] { restoreOption(step.option, env_.settings.readOption(step.key)); });
    }
}

void Form1::restoreOption(QRadioButton* option, bool on) {
    restoring_ = true;
    if (on) {
        option->setChecked(true);
    } else {
        // An option of a group can be turned off even when it is the chosen one.
        option->group()->setExclusive(false);
        option->setChecked(false);
        option->group()->setExclusive(true);
    }
    restoring_ = false;
    if (on) clickHandlerOf(option)();
}

void Form1::Form_Unload() {
    env_.shell.endProgram();
}

void Form1::Text1_Change() {
    env_.settings.writeText(platform::keys::Count, Text1->text());
}

void Form1::Text1_GotFocus() {
    Text1->setSelection(0, static_cast<int>(Text1->text().size()));
}

void Form1::PushButton8_Click() {
    WindowProcedure procedure(env_.dialogs, locationTag("Form1", "PushButton8_Click"));
    procedure.run(100, [this] {
        env_.dialogs.messageBox(kHelpText, platform::MessageStyle::Ok, applicationTitle_);
    });
}

void Form1::Option4_Click() {
    env_.settings.writeOption(platform::keys::FirstAndLastName, Option4->isChecked());
    env_.settings.writeOption(platform::keys::FirstNameOnly, Option5->isChecked());
    env_.settings.writeOption(platform::keys::LastNameOnly, Option6->isChecked());
}

void Form1::Option5_Click() {
    Option4_Click();
}

void Form1::Option6_Click() {
    Option4_Click();
}

void Form1::closeEvent(QCloseEvent* event) {
    event->accept();
    Form_Unload();
}

bool Form1::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
        case QEvent::KeyPress: {
            const auto* key = static_cast<QKeyEvent*>(event);
            if (watched == ListView1)
                runUnguarded("ListView1_KeyDown",
                             [&] { ListView1_KeyDown(keyCodeOf(key), shiftStateOf(key)); });
            if (watched == ListView2)
                runUnguarded("ListView2_KeyDown",
                             [&] { ListView2_KeyDown(keyCodeOf(key), shiftStateOf(key)); });
            return false;
        }
        case QEvent::DragEnter:
        case QEvent::DragMove:
        case QEvent::Drop:
            return listFrameDragEvent(watched, event) || QWidget::eventFilter(watched, event);
        case QEvent::FocusIn:
            if (watched == Text1) Text1_GotFocus();
            return false;
        default:
            return QWidget::eventFilter(watched, event);
    }
}

}  // namespace app
