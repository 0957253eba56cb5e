#pragma once

#include <functional>
#include <future>
#include <memory>
#include <optional>
#include <vector>

#include <QMap>
#include <QStringList>
#include <QWidget>

#include "app/origin_choice.h"
#include "generate/birth_decades.h"
#include "generate/person_draw.h"
#include "generate/random_generator.h"
#include "names/birth_store.h"
#include "platform/pointer.h"
#include "widgets/environment.h"
#include "widgets/progress_bar.h"
#include "widgets/window_pointer.h"

class QGroupBox;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTreeView;

namespace generate {
class PersonDraw;
struct InventionPlan;
}  // namespace generate
namespace guarded {
class Procedure;
}  // namespace guarded
namespace names {
class NameListModel;
}  // namespace names
namespace results {
class Form2;
}

namespace app {

struct DrawKeys;
class OriginChooser;

// A persons' draw made, or being made, for the run that needs it, with what
// it was made from.
struct PreparedDraw {
    struct Inputs {
        QString databasePath;
        QStringList tags;
        std::vector<double> shares;
        generate::GenderFilter gender = generate::GenderFilter::Both;
        bool byFrequency = false;
        bool weighted = false;
        std::optional<generate::DecadeRange> born;
        QMap<QString, names::OriginFrequencies> frequencies;
        QStringList shownFirst;  // the list views' stored names
        QStringList shownLast;
        bool operator==(const Inputs& other) const;
    };
    Inputs inputs;
    std::shared_future<std::shared_ptr<const generate::PersonDraw>> draw;
};

inline constexpr char kHomePage[] = "https://www.quillfern.example/";

// The key code the list views' KeyDown procedures receive for the Delete key.
inline constexpr int kDeleteKeyCode = 46;

// One start in a hundred opens the home page: a draw from 1 to 100 that gives 7.
bool drawsHomePageVisit(generate::RandomGenerator& random);

// The main window. Creating it lays out the controls and runs Form_Load.
class Form1 : public QWidget {
    Q_OBJECT
public:
    explicit Form1(widgets::Environment environment);
    ~Form1() override;

    // Controls, named as in the window designer.
    QPushButton* PushButton1 = nullptr;  // "Start Generating"
    QPushButton* PushButton2 = nullptr;  // "Add First Name"
    QPushButton* PushButton3 = nullptr;  // "Delete"/"Clear" under the last names
    QPushButton* PushButton4 = nullptr;  // "Delete"/"Clear" under the first names
    QPushButton* PushButton5 = nullptr;  // "Add Last Name"
    QPushButton* PushButton6 = nullptr;  // "Load First Names From File"
    QPushButton* PushButton7 = nullptr;  // "Load Last Names From File"
    QPushButton* PushButton8 = nullptr;  // "Help"
    QGroupBox* Frame1 = nullptr;         // "Gender Options (Amberlin's List Only)"
    QGroupBox* Frame2 = nullptr;         // "Part Of Name"
    QGroupBox* Frame3 = nullptr;         // "How many names would you like to generate?"
    QGroupBox* Frame4 = nullptr;         // "List Options"
    QGroupBox* Frame5 = nullptr;         // "Last Names"
    QGroupBox* Frame6 = nullptr;         // "First Names"
    QRadioButton* Option1 = nullptr;     // both genders of built-in first names
    QRadioButton* Option2 = nullptr;     // male built-in first names only
    QRadioButton* Option3 = nullptr;     // female built-in first names only
    QRadioButton* Option4 = nullptr;     // generate first and last names
    QRadioButton* Option5 = nullptr;     // generate first names only
    QRadioButton* Option6 = nullptr;     // generate last names only
    QRadioButton* Option8 = nullptr;     // the User List is the list source
    QRadioButton* Option9 = nullptr;     // the built-in list is the list source
    QLineEdit* Text1 = nullptr;          // how many names to generate
    QTreeView* ListView1 = nullptr;      // first names
    QTreeView* ListView2 = nullptr;      // last names
    widgets::ProgressBar* ProgressBar1 = nullptr;
    // Beside the gender options: the current origins; a click opens the chooser.
    QGroupBox* originFrame = nullptr;
    QPushButton* originButton = nullptr;

    names::NameListModel& firstNames() { return *firstNames_; }
    names::NameListModel& lastNames() { return *lastNames_; }

    const widgets::Environment& environment() const { return env_; }
    QString applicationTitle() const { return applicationTitle_; }
    generate::RandomGenerator& random() { return random_; }
    QString databasePath() const;

    platform::PointerShape MousePointer() const { return pointer_->shape(); }
    void SetMousePointer(platform::PointerShape pointer) { pointer_->setShape(pointer); }

    // True while a generation run is under way.
    bool Generating() const { return generating_; }

    // The results window: created and loaded on first use, then kept.
    results::Form2& resultsWindow();
    bool hasResultsWindow() const { return form2_ != nullptr; }

    // Event procedures.
    void Form_Load();
    void Form_Unload();
    void Text1_Change();
    void Text1_GotFocus();
    void PushButton1_Click();
    void PushButton2_Click();
    void PushButton3_Click();
    void PushButton4_Click();
    void PushButton5_Click();
    void PushButton6_Click();
    void PushButton7_Click();
    void PushButton8_Click();
    void Option1_Click();
    void Option2_Click();
    void Option3_Click();
    void Option4_Click();
    void Option5_Click();
    void Option6_Click();
    void Option8_Click();
    void Option9_Click();
    void ListView1_DblClick();
    void ListView2_DblClick();
    void ListView1_KeyDown(int keyCode, int shift);
    void ListView2_KeyDown(int keyCode, int shift);
    // Files dropped on the first-name or last-name frame: imported as if chosen
    // with that frame's load button.
    void Frame6_DragDrop(const QStringList& paths);
    void Frame5_DragDrop(const QStringList& paths);
    // Opens the origin chooser with the current origins ticked.
    void originButton_Click();
    // A new choice of origins: stored under Origin at once, then the lists reloaded.
    void originsChosen(const generate::OriginMix& chosen);
    // The chooser window; none until the origin button is first clicked.
    OriginChooser* originChooser() const { return chooser_; }

    // Fills both list views from the name database by the list options.
    void DatabaseToListview();

    // The origins of this run: read from the Origin key and the database's
    // origins at the first list load, then kept. Throws platform::Failure
    // when the database cannot be read.
    const OriginChoice& currentOrigins();
    // None until a list load has read them.
    const std::optional<OriginChoice>& origins() const { return origins_; }

    // How "Start Generating" draws, as the keys Weighted, Born and Invent
    // stand now (read afresh: a value that cannot be read counts as the
    // key's default, and is reported once, at start-up).
    DrawKeys drawKeys();
    // Returns once the draw being made ahead of the next run (if any) is made.
    void waitForPreparedDraw() const;

    // Sets an option's state as start-up restores it: turning it on runs its
    // click handling (failures pass to the caller); turning it off runs nothing.
    void restoreOption(QRadioButton* option, bool on);

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildControls();
    void buildOriginControls();
    void showOriginCaption();
    void groupOptions(std::initializer_list<QRadioButton*> options);
    void connectEvents();
    void ApplySkin();
    void seedAndMaybeOpenHomePage();
    void setCaptionIconAndTitle();
    void restoreStoredOptions(guarded::Procedure& procedure);
    void storeDefaultOrigin();
    void reportUnreadableOrigin();
    // True when a run draws whole persons from the current origins.
    bool drawsPersons() const;
    // The persons' draw over the current origins by the gender option: by
    // frequency and decade where the keys ask and the origins carry them,
    // otherwise with only the names the list views show. Kept for the next
    // run while nothing it rests on changes. Throws platform::Failure.
    std::shared_ptr<const generate::PersonDraw> personDraw(const DrawKeys& drawKeys);
    // Starts making the draw of the next run on another thread, when that run
    // will draw persons; the run takes it when it is still right.
    void prepareDraw();
    void startPreparing();
    PreparedDraw::Inputs drawInputs(const DrawKeys& drawKeys);
    // Whether each stored origin has frequencies and decades: read once, when
    // first asked.
    const QMap<QString, names::OriginFrequencies>& originFrequencies();
    // True when a run draws by frequency or birth decade: the built-in list,
    // Born given, or Weighted for origins of which one carries frequencies.
    bool drawsByFrequency(const DrawKeys& drawKeys);
    // What invented names learn from: the list views, or the current
    // origins' lists per sex when whole persons are drawn.
    generate::InventionPlan inventionPlan();
    // A statement that fails with `why` when it is not empty.
    static void reportUnreadable(const QString& why);
    // Runs an event procedure without a report of its own: a failure is shown
    // to the user instead of leaving the event procedure.
    void runUnguarded(const char* procedure, const std::function<void()>& body);
    std::function<void()> clickHandlerOf(QRadioButton* option);
    // Drags over and drops on the list frames; true when the event is handled.
    bool listFrameDragEvent(QObject* frame, QEvent* event);

    widgets::Environment env_;
    names::NameListModel* firstNames_ = nullptr;
    names::NameListModel* lastNames_ = nullptr;
    QString applicationTitle_;
    generate::RandomGenerator random_;
    widgets::WindowPointer* pointer_;
    bool restoring_ = false;
    // While Form_Load restores the stored options: a reload that would fill
    // the lists as the last load did is left out.
    bool loadingForm_ = false;
    QString lastLoad_;  // what the last load read (listLoadState), empty when it failed
    bool generating_ = false;
    std::unique_ptr<results::Form2> form2_;
    std::optional<OriginChoice> origins_;
    std::optional<QMap<QString, names::OriginFrequencies>> frequencies_;
    std::unique_ptr<PreparedDraw> prepared_;
    OriginChooser* chooser_ = nullptr;  // a window of its own, owned by this one
};

}  // namespace app
