#include "results/form2.h"

#include <QApplication>
#include <QCloseEvent>
#include <QGroupBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>

#include "guarded/failure_report.h"
#include "platform/dialogs.h"
#include "platform/files.h"
#include "platform/settings.h"
#include "platform/shell.h"
#include "results/result_list.h"
#include "widgets/application_title.h"
#include "widgets/centred_window.h"
#include "widgets/controls.h"
#include "widgets/failure_box.h"
#include "widgets/program_icon.h"
#include "widgets/twips.h"

namespace results {

namespace {

constexpr int kNamesColumnTwips = 7000;

}  // namespace

Form2::Form2(widgets::Environment environment, QString applicationTitle, QWidget* mainWindow)
    : env_(std::move(environment)),
      applicationTitle_(std::move(applicationTitle)),
      mainWindow_(mainWindow),
      pointer_(new widgets::WindowPointer(this)) {
    buildControls();
    addCopyActions();
    connectEvents();
    Form_Load();
}

Form2::~Form2() = default;

void Form2::buildControls() {
    widgets::setUpFixedWindow(this, "Form2", 8040, 7800);
    widgets::centreOnFirstShowing(this);

    results_ = new ResultList(this);

    PushButton8 =
        widgets::makeButton(this, "PushButton8", QStringLiteral("< Back"), 120, 120, 7800, 405);
    Frame2 = widgets::makeFrame(this, "Frame2", QStringLiteral("Output"), 120, 570, 7800, 690);
    Option4 =
        widgets::makeOption(Frame2, "Option4", QStringLiteral("Text File"), 240, 240, 1335, 375);
    Option4->setChecked(true);
    Option5 = widgets::makeOption(Frame2, "Option5", QStringLiteral("Excel (2 cells)"), 1575, 240,
                                  1695, 375);
    Option6 = widgets::makeOption(Frame2, "Option6", QStringLiteral("Excel (1 cell)"), 3555, 240,
                                  1695, 375);

    // A one-column table: unlike a tree view it keeps nothing per row beyond a
    // few bytes of row height, so a million rows show at once.
    ListView1 = new QTableView(this);
    ListView1->setObjectName(QStringLiteral("ListView1"));
    ListView1->setShowGrid(false);
    ListView1->setWordWrap(false);
    ListView1->setCornerButtonEnabled(false);
    ListView1->setTabKeyNavigation(false);
    ListView1->setSelectionBehavior(QAbstractItemView::SelectRows);
    ListView1->setSelectionMode(QAbstractItemView::ExtendedSelection);
    ListView1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    ListView1->verticalHeader()->hide();
    ListView1->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    ListView1->verticalHeader()->setDefaultSectionSize(ListView1->fontMetrics().height() + 4);
    ListView1->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    ListView1->horizontalHeader()->setHighlightSections(false);
    ListView1->horizontalHeader()->setStretchLastSection(false);
    ListView1->setModel(results_);
    widgets::placeInTwips(ListView1, 120, 1360, 7800, 4930);

    Frame4 = widgets::makeFrame(this, "Frame4", QStringLiteral("Save Results To This Folder"), 120,
                                6360, 7800, 810);
    Text2 = widgets::makeTextBox(Frame4, "Text2", QString(), 240, 300, 6630, 345);
    PushButton1 =
        widgets::makeButton(Frame4, "PushButton1", QStringLiteral("..."), 6960, 300, 600, 345);
    PushButton2 = widgets::makeButton(this, "PushButton2", QStringLiteral("Save Results"), 120,
                                      7290, 7800, 405);

    widgets::setTabOrder(
        {PushButton8, Option4, Option5, Option6, ListView1, Text2, PushButton1, PushButton2});
}

void Form2::connectEvents() {
    connect(PushButton8, &QPushButton::clicked, this, [this] { PushButton8_Click(); });
    connect(PushButton1, &QPushButton::clicked, this, [this] { PushButton1_Click(); });
    connect(PushButton2, &QPushButton::clicked, this, [this] { PushButton2_Click(); });
    connect(Text2, &QLineEdit::textChanged, this, [this] {
        // No report of its own: a failure to store the folder is shown and the
        // typing goes on.
        widgets::runUnguarded(env_.dialogs, "Form2", "Text2_Change", [this] { Text2_Change(); });
    });

    pointer_->track({Option4, Option5, Option6, ListView1});
}

void Form2::Form_Load() {
    widgets::WindowProcedure procedure(env_.dialogs, guarded::locationTag("Form2", "Form_Load"));
    procedure.run(100, [this] { results_->setHeader(QStringLiteral("Names")); });
    procedure.run(
        102, [this] { ListView1->setColumnWidth(0, widgets::twipsToPixels(kNamesColumnTwips)); });
    const QString handPicture = widgets::WindowPointer::handPicturePath(env_.programFolder);
    if (procedure.test(104, [&] { return platform::FileExists(handPicture); }))
        procedure.run(106, [&] { pointer_->loadHandPicture(handPicture); });
    procedure.run(108, [this] { paintButtonFace(); });
    procedure.run(110, [this] {
        setWindowTitle(QLatin1String(widgets::kProductTitle));
        setWindowIcon(widgets::programIcon());
    });
    // The desktop folder is looked up only for want of a stored folder.
    procedure.run(112, [this] {
        Text2->setText(env_.settings.readText(platform::keys::OutputFolder, [this] {
            return platform::keys::outputFolderDefault(env_.shell);
        }));
    });
}

void Form2::paintButtonFace() {
    const QColor buttonFace = QApplication::palette().color(QPalette::Button);
    for (QWidget* widget :
         std::initializer_list<QWidget*>{this, Frame2, Frame4, Option4, Option5, Option6})
        widgets::paintBackground(widget, buttonFace);
}

void Form2::Form_QueryUnload() {
    widgets::WindowProcedure procedure(env_.dialogs,
                                       guarded::locationTag("Form2", "Form_QueryUnload"));
    procedure.run(100, [this] { env_.shell.endProgram(); });
}

void Form2::PushButton8_Click() {
    widgets::WindowProcedure procedure(env_.dialogs,
                                       guarded::locationTag("Form2", "PushButton8_Click"));
    procedure.run(100, [this] {
        if (!mainWindow_) throw platform::Failure(QStringLiteral("The main window is gone"));
        mainWindow_->show();
    });
    procedure.run(102, [this] { hide(); });
}

void Form2::Text2_Change() {
    env_.settings.writeText(platform::keys::OutputFolder, Text2->text());
}

void Form2::PushButton1_Click() {
    widgets::WindowProcedure procedure(env_.dialogs,
                                       guarded::locationTag("Form2", "PushButton1_Click"));
    QString folder;
    procedure.run(100, [&] {
        folder = env_.dialogs.chooseFolder(this, QStringLiteral("Save To This Folder"));
    });
    if (procedure.test(102, [&] { return folder.isEmpty(); })) return;
    procedure.run(104, [&] { env_.settings.writeText(platform::keys::LastChosenFolder, folder); });
    // The folder box always ends in exactly one separator; a root folder comes with it.
    if (procedure.test(104, [&] { return !folder.endsWith(QLatin1Char('/')); }))
        procedure.run(106, [&] { Text2->setText(folder + QLatin1Char('/')); });
    else
        procedure.run(108, [&] { Text2->setText(folder); });
}

void Form2::message(const QString& text) {
    env_.dialogs.messageBox(text, platform::MessageStyle::Ok, applicationTitle_);
}

void Form2::closeEvent(QCloseEvent* event) {
    event->accept();
    Form_QueryUnload();
}

}  // namespace results
