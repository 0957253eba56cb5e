// The built program in a real X server: Xvfb, Qt's xcb platform, a fresh
// settings folder and a copy of names.mdb. The test plays the user through
// the X server (pointer and keys by XTest, closing by a WM_DELETE_WINDOW
// message) and judges what the user would see: which windows are shown, and
// the files the program writes (the settings file and results.txt).

#include <gtest/gtest.h>
#include <sqlite3.h>
#include <stdlib.h>
#include <sys/stat.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <iostream>
#include <memory>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "child_process.h"
#include "output_checks.h"
#include "window_layout.h"
#include "x_display.h"

namespace e2e {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

// Generous: CI machines are shared, and every wait ends as soon as its condition holds.
constexpr auto kStartUpTimeout = 60s;
constexpr auto kStepTimeout = 60s;
constexpr auto kEndTimeout = 30s;

constexpr char kSettingsSection[] = "Quillfern";
constexpr int kScreenWidth = 1280;
constexpr int kScreenHeight = 1024;

// Runs one statement on a database file; the first column of each row, as text.
std::vector<std::string> query(const fs::path& database, const std::string& sql) {
    sqlite3* db = nullptr;
    std::vector<std::string> rows;
    const bool opened =
        sqlite3_open_v2(database.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr) == SQLITE_OK;
    sqlite3_stmt* statement = nullptr;
    if (opened && sqlite3_prepare_v2(db, sql.c_str(), -1, &statement, nullptr) == SQLITE_OK) {
        while (sqlite3_step(statement) == SQLITE_ROW) {
            const unsigned char* text = sqlite3_column_text(statement, 0);
            rows.emplace_back(text ? reinterpret_cast<const char*>(text) : "");
        }
    }
    if (!opened || !statement) ADD_FAILURE() << database << ": " << sqlite3_errmsg(db);
    sqlite3_finalize(statement);
    sqlite3_close_v2(db);
    return rows;
}

using Names = std::vector<std::string>;

// How the program under test is laid out: portable, a copy of the built
// program with names.mdb beside it; or installed, <root>/usr/bin/quillfern
// with the template in <root>/usr/share/quillfern. The installed tree is made
// from the build, or copied from an unpacked package when QF_E2E_PACKAGE_ROOT
// names one.
enum class Layout { Portable, Installed };

// A temporary folder laid out like a user's machine: the program, a home with
// a Desktop, its settings folder and its data folder.
class Sandbox {
public:
    explicit Sandbox(Layout layout = Layout::Portable) : layout_(layout) {
        std::string pattern = (fs::temp_directory_path() / "quillfern-e2e-XXXXXX").string();
        if (!::mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
        root_ = pattern;
        fs::create_directories(programFolder());
        useHome("home");
        fs::create_directories(runtimeFolder());
        fs::permissions(runtimeFolder(), fs::perms::owner_all, fs::perm_options::replace);
        const char* package = std::getenv("QF_E2E_PACKAGE_ROOT");
        if (layout == Layout::Portable) {
            fs::copy_file(QF_E2E_PROGRAM, program());
            fs::copy_file(QF_E2E_DATABASE, programFolder() / "names.mdb");
        } else if (package && *package) {
            fs::copy(fs::path(package) / "usr", root_ / "usr", fs::copy_options::recursive);
        } else {
            fs::copy_file(QF_E2E_PROGRAM, program());
            fs::create_directories(templateFile().parent_path());
            fs::copy_file(QF_E2E_TEMPLATE, templateFile());
        }
    }

    void keep() { keep_ = true; }
    ~Sandbox() {
        std::error_code ignored;
        if (!keep_) fs::remove_all(root_, ignored);
    }

    // Makes the named home, with its Desktop, current: a user of their own.
    void useHome(const std::string& name) {
        home_ = root_ / name;
        fs::create_directories(desktop());
        fs::create_directories(configFolder());
    }

    const fs::path& root() const { return root_; }
    fs::path programFolder() const {
        return layout_ == Layout::Portable ? root_ / "program" : root_ / "usr" / "bin";
    }
    fs::path program() const { return programFolder() / "quillfern"; }
    fs::path templateFile() const { return root_ / "usr" / "share" / "quillfern" / "names.mdb"; }
    fs::path home() const { return home_; }
    fs::path desktop() const { return home() / "Desktop"; }
    fs::path configFolder() const { return home() / ".config"; }
    fs::path dataFolder() const { return home() / ".local" / "share"; }
    fs::path usersDatabase() const { return dataFolder() / "quillfern" / "names.mdb"; }
    fs::path runtimeFolder() const { return root_ / "runtime"; }
    fs::path settingsFile() const { return configFolder() / "Veltrane" / "Veltrane.ini"; }
    fs::path resultsFile() const { return desktop() / "results.txt"; }
    fs::path serverLog() const { return root_ / "xvfb.log"; }
    fs::path programLog() const { return root_ / "quillfern.log"; }

private:
    Layout layout_;
    fs::path root_;
    fs::path home_;
    bool keep_ = false;
};

class RealWindowTest : public ::testing::Test {
protected:
    virtual Layout layout() const { return Layout::Portable; }

    void SetUp() override {
        sandbox_ = std::make_unique<Sandbox>(layout());
        screen_ =
            std::make_unique<VirtualScreen>(sandbox_->serverLog(), kScreenWidth, kScreenHeight);
        x_ = std::make_unique<XSession>(screen_->display());
    }

    void TearDown() override {
        if (program_) program_->stop();
        program_.reset();
        windowManager_.reset();
        x_.reset();
        screen_.reset();
        if (HasFailure()) {
            sandbox_->keep();
            std::cout << "Kept the test folder " << sandbox_->root() << "\n--- program output\n"
                      << readFile(sandbox_->programLog()) << "--- Xvfb output\n"
                      << readFile(sandbox_->serverLog()) << "---\n";
        }
        sandbox_.reset();
    }

    // The environment of a user's session on the virtual screen.
    LaunchPlan session() {
        LaunchPlan plan;
        plan.setEnvironment = {
            {"DISPLAY", screen_->display()},
            {"QT_QPA_PLATFORM", "xcb"},
            {"HOME", sandbox_->home().string()},
            {"XDG_CONFIG_HOME", sandbox_->configFolder().string()},
            {"XDG_RUNTIME_DIR", sandbox_->runtimeFolder().string()},
            {"XDG_CACHE_HOME", (sandbox_->home() / ".cache").string()},
            {"XDG_DATA_HOME", sandbox_->dataFolder().string()},
            {"LC_ALL", "C.UTF-8"},
        };
        plan.dropEnvironment = {"WAYLAND_DISPLAY",
                                "XAUTHORITY",
                                "DBUS_SESSION_BUS_ADDRESS",
                                "SESSION_MANAGER",
                                "QT_QPA_PLATFORMTHEME",
                                "QT_STYLE_OVERRIDE",
                                "QT_SCALE_FACTOR",
                                "QT_SCREEN_SCALE_FACTORS",
                                "QT_FONT_DPI",
                                "XDG_CURRENT_DESKTOP",
                                "LANG",
                                "LANGUAGE"};
        return plan;
    }

    void startProgram() {
        ASSERT_TRUE(!program_ || !program_->running()) << "the program is already running";
        LaunchPlan plan = session();
        plan.arguments = {sandbox_->program().string()};
        plan.outputFile = sandbox_->programLog();
        program_ = std::make_unique<ChildProcess>(plan);
    }

    void startWindowManager() {
        LaunchPlan plan = session();
        plan.outputFile = sandbox_->root() / "window-manager.log";
        windowManager_ = std::make_unique<WindowManager>(screen_->display(), *x_, plan);
    }

    // Polls the condition until it holds. Gives up early, naming the reason,
    // when the program ends or shows a dialog nobody asked for.
    ::testing::AssertionResult waitFor(const std::string& what, const std::function<bool()>& holds,
                                       std::chrono::seconds timeout = kStepTimeout,
                                       bool dialogExpected = false) {
        const auto deadline = std::chrono::steady_clock::now() + timeout;
        for (;;) {
            if (holds()) return ::testing::AssertionSuccess();
            if (!program_->running())
                return ::testing::AssertionFailure() << "the program " << program_->describeEnd()
                                                     << " while waiting for " << what;
            if (!dialogExpected) {
                if (const auto dialog = openDialog())
                    return ::testing::AssertionFailure()
                           << "a dialog titled \"" << dialog->title << "\" (" << dialog->width
                           << "x" << dialog->height << ") appeared while waiting for " << what;
            }
            if (std::chrono::steady_clock::now() >= deadline)
                return ::testing::AssertionFailure()
                       << "gave up after " << timeout.count() << " s waiting for " << what;
            std::this_thread::sleep_for(20ms);
        }
    }

    std::optional<TopLevelWindow> mainWindow() {
        return x_->findViewable(kWindowTitle, main_window::kWidth, main_window::kHeight);
    }
    std::optional<TopLevelWindow> resultsWindow() {
        return x_->findViewable(kWindowTitle, results_window::kWidth, results_window::kHeight);
    }
    // A shown message box: the failure report, or any titled window that is
    // neither of the program's two windows.
    std::optional<TopLevelWindow> openDialog() {
        for (const TopLevelWindow& window : x_->topLevelWindows()) {
            if (!window.viewable || window.title.empty()) continue;
            const bool form =
                window.title == kWindowTitle &&
                ((window.width == main_window::kWidth && window.height == main_window::kHeight) ||
                 (window.width == results_window::kWidth &&
                  window.height == results_window::kHeight));
            if (!form) return window;
        }
        return std::nullopt;
    }

    std::optional<std::string> setting(const std::string& key) {
        return iniValue(readFile(sandbox_->settingsFile()), kSettingsSection, key);
    }

    // Every keystroke in the count box is stored at once, so the settings
    // file tells when the typing has arrived.
    ::testing::AssertionResult waitForSetting(const std::string& key, const std::string& value) {
        return waitFor("the setting " + key + "=" + value, [&] { return setting(key) == value; });
    }

    void waitForMainWindow(std::chrono::seconds timeout = kStepTimeout) {
        ASSERT_TRUE(waitFor(
            "the main window alone",
            [&] { return mainWindow().has_value() && !resultsWindow().has_value(); }, timeout));
    }

    void waitForResultsWindow() {
        ASSERT_TRUE(waitFor("the results window in place of the main window", [&] {
            return resultsWindow().has_value() && !mainWindow().has_value();
        }));
    }

    void typeCount(const std::string& count) {
        const TopLevelWindow window = mainWindow().value();
        x_->focus(window);
        const Point box = centreOf(main_window::kCountBox, main_window::kCountFrame);
        x_->click(window, box.x, box.y);
        x_->pressKey(XK_a, /*withControl=*/true);  // select the whole count, then replace it
        x_->type(count);
        ASSERT_TRUE(waitForSetting("Text1", count));
    }

    void startGenerating() {
        const Point button = centreOf(main_window::kStartGenerating);
        x_->click(mainWindow().value(), button.x, button.y);
        ASSERT_NO_FATAL_FAILURE(waitForResultsWindow());
    }

    // "Save Results" with "Text File" chosen, then OK on the completion message.
    void saveAsTextFile() {
        const TopLevelWindow window = resultsWindow().value();
        const Point textFile = indicatorOf(results_window::kTextFile, results_window::kOutputFrame);
        x_->click(window, textFile.x, textFile.y);
        const Point save = centreOf(results_window::kSaveResults);
        x_->click(window, save.x, save.y);
        std::optional<TopLevelWindow> box;
        ASSERT_TRUE(waitFor(
            "the completion message", [&] { return (box = openDialog()).has_value(); },
            kStepTimeout,
            /*dialogExpected=*/true));
        EXPECT_EQ(box->title, kWindowTitle) << "the completion message's title";
        x_->focus(*box);
        x_->pressKey(XK_Return);
        ASSERT_TRUE(waitFor(
            "the completion message to close", [&] { return !openDialog().has_value(); },
            kStepTimeout, /*dialogExpected=*/true));
    }

    void goBack() {
        const Point back = centreOf(results_window::kBack);
        x_->click(resultsWindow().value(), back.x, back.y);
        ASSERT_NO_FATAL_FAILURE(waitForMainWindow());
    }

    void closeAndExpectCleanEnd(const TopLevelWindow& window) {
        x_->requestClose(window);
        ASSERT_TRUE(program_->waitForEnd(kEndTimeout))
            << "the program was still running " << kEndTimeout.count()
            << " s after its window was asked to close";
        EXPECT_TRUE(program_->exitedCleanly()) << "the program " << program_->describeEnd();
    }

    CrLfLines savedLines() { return splitCrLfLines(readFile(sandbox_->resultsFile())); }

    std::unique_ptr<Sandbox> sandbox_;
    std::unique_ptr<VirtualScreen> screen_;
    std::unique_ptr<XSession> x_;
    std::unique_ptr<ChildProcess> program_;
    std::unique_ptr<WindowManager> windowManager_;
};

TEST_F(RealWindowTest, GeneratesAThousandNamesSavesThemAndEndsWhenClosed) {
    ASSERT_NO_FATAL_FAILURE(startProgram());
    ASSERT_NO_FATAL_FAILURE(waitForMainWindow(kStartUpTimeout));
    // A first start stores the laid-out choices and the count 100.
    EXPECT_EQ(setting("Option9"), "True");
    EXPECT_EQ(setting("Option1"), "True");
    EXPECT_EQ(setting("Option4"), "True");
    EXPECT_EQ(setting("Text1"), "100");

    ASSERT_NO_FATAL_FAILURE(typeCount("1000"));
    ASSERT_NO_FATAL_FAILURE(startGenerating());
    // The results window's first showing stores its folder: the desktop.
    EXPECT_EQ(setting("Text2"), sandbox_->desktop().string() + "/");

    ASSERT_NO_FATAL_FAILURE(saveAsTextFile());
    // The file holds the rows of the results window; 1000 rows that each have
    // a first and a last name show that both lists were filled at start-up.
    const CrLfLines saved = savedLines();
    EXPECT_EQ(saved.problem, "");
    ASSERT_EQ(saved.lines.size(), 1000u);
    std::set<std::string> firstNames, lastNames;
    for (size_t i = 0; i < saved.lines.size(); ++i) {
        const std::string& line = saved.lines[i];
        ASSERT_TRUE(isFirstAndLastName(line)) << "line " << i + 1 << ": \"" << line << "\"";
        firstNames.insert(line.substr(0, line.find(' ')));
        lastNames.insert(line.substr(line.find(' ') + 1));
    }
    // Drawn at random from lists of many names, not one name over and over.
    EXPECT_GT(firstNames.size(), 100u);
    EXPECT_GT(lastNames.size(), 100u);

    ASSERT_NO_FATAL_FAILURE(goBack());
    // Closing the main window while the results window is hidden ends the program.
    ASSERT_NO_FATAL_FAILURE(closeAndExpectCleanEnd(mainWindow().value()));
}

TEST_F(RealWindowTest, ChosenPartOfNameAndCountComeBackOnTheNextStart) {
    {
        SCOPED_TRACE("first start: choose \"Last Name Only\" and 37 names, then close");
        ASSERT_NO_FATAL_FAILURE(startProgram());
        ASSERT_NO_FATAL_FAILURE(waitForMainWindow(kStartUpTimeout));
        const Point lastNameOnly =
            indicatorOf(main_window::kLastNameOnly, main_window::kPartOfNameFrame);
        x_->click(mainWindow().value(), lastNameOnly.x, lastNameOnly.y);
        ASSERT_TRUE(waitForSetting("Option6", "True"));
        EXPECT_EQ(setting("Option4"), "False");
        ASSERT_NO_FATAL_FAILURE(typeCount("37"));
        ASSERT_NO_FATAL_FAILURE(closeAndExpectCleanEnd(mainWindow().value()));
    }
    {
        SCOPED_TRACE("second start: generate and save without touching anything");
        ASSERT_NO_FATAL_FAILURE(startProgram());
        ASSERT_NO_FATAL_FAILURE(waitForMainWindow(kStartUpTimeout));
        ASSERT_NO_FATAL_FAILURE(startGenerating());
        ASSERT_NO_FATAL_FAILURE(saveAsTextFile());
        const CrLfLines saved = savedLines();
        EXPECT_EQ(saved.problem, "");
        ASSERT_EQ(saved.lines.size(), 37u);
        for (size_t i = 0; i < saved.lines.size(); ++i)
            EXPECT_TRUE(isSingleName(saved.lines[i]))
                << "line " << i + 1 << ": \"" << saved.lines[i] << "\"";
        // Closing the results window ends the program as well.
        ASSERT_NO_FATAL_FAILURE(closeAndExpectCleanEnd(resultsWindow().value()));
    }
    EXPECT_EQ(setting("Option6"), "True");
    EXPECT_EQ(setting("Text1"), "37");
}

// The frame's middle within half a pixel of the screen's: a window manager
// frames the window, and each window opens in the middle of the screen as a whole.
::testing::AssertionResult framedInTheMiddle(const std::optional<TopLevelWindow>& window) {
    if (!window) return ::testing::AssertionFailure() << "no such window";
    const bool framed = window->frameHeight > window->height;
    const bool middle = std::abs(2 * window->frameX + window->frameWidth - kScreenWidth) <= 1 &&
                        std::abs(2 * window->frameY + window->frameHeight - kScreenHeight) <= 1;
    if (framed && middle) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
           << "frame " << window->frameWidth << "x" << window->frameHeight << " at "
           << window->frameX << "," << window->frameY << " on a " << kScreenWidth << "x"
           << kScreenHeight << " screen";
}

TEST_F(RealWindowTest, UnderAWindowManagerEachWindowOpensCentredWithItsFrame) {
    ASSERT_NO_FATAL_FAILURE(startWindowManager());
    ASSERT_NO_FATAL_FAILURE(startProgram());
    ASSERT_NO_FATAL_FAILURE(waitForMainWindow(kStartUpTimeout));
    EXPECT_TRUE(waitFor("the framed main window in the middle of the screen", [&] {
        return framedInTheMiddle(mainWindow());
    })) << framedInTheMiddle(mainWindow()).message();
    ASSERT_NO_FATAL_FAILURE(startGenerating());
    EXPECT_TRUE(waitFor("the framed results window in the middle of the screen", [&] {
        return framedInTheMiddle(resultsWindow());
    })) << framedInTheMiddle(resultsWindow()).message();
    ASSERT_NO_FATAL_FAILURE(closeAndExpectCleanEnd(resultsWindow().value()));
}

// The program as a package installs it: no names.mdb beside it, each user's
// own copy in their data folder, made from the template in ../share/quillfern.
class InstalledProgramTest : public RealWindowTest {
protected:
    Layout layout() const override { return Layout::Installed; }

    // A name column of the current user's database.
    Names namesIn(const char* column, const char* table) {
        return query(sandbox_->usersDatabase(),
                     std::string("select ") + column + " from " + table + " order by id");
    }

    void chooseUserList() {
        const Point option = indicatorOf(main_window::kUserList, main_window::kListOptionsFrame);
        x_->click(mainWindow().value(), option.x, option.y);
        ASSERT_TRUE(waitForSetting("Option8", "True"));
    }

    // Presses an "Add ... Name" button and types the name into the input box.
    // The program stores it before it handles the next event.
    void addName(Place button, Place frame, const std::string& name) {
        const Point add = centreOf(button, frame);
        x_->click(mainWindow().value(), add.x, add.y);
        std::optional<TopLevelWindow> box;
        ASSERT_TRUE(waitFor(
            "the input box", [&] { return (box = openDialog()).has_value(); }, kStepTimeout,
            /*dialogExpected=*/true));
        x_->focus(*box);
        x_->type(name);
        x_->pressKey(XK_Return);
        ASSERT_TRUE(waitFor(
            "the input box to close", [&] { return !openDialog().has_value(); }, kStepTimeout,
            /*dialogExpected=*/true));
    }
};

TEST_F(InstalledProgramTest, EachUserGetsACopyOfTheirOwnThatKeepsTheirUserList) {
    {
        SCOPED_TRACE("first start: the copy is made; add a first and a last name to the User List");
        ASSERT_NO_FATAL_FAILURE(startProgram());
        ASSERT_NO_FATAL_FAILURE(waitForMainWindow(kStartUpTimeout));
        EXPECT_TRUE(fs::exists(sandbox_->usersDatabase()));
        EXPECT_FALSE(fs::exists(sandbox_->programFolder() / "names.mdb"));
        ASSERT_NO_FATAL_FAILURE(chooseUserList());
        ASSERT_NO_FATAL_FAILURE(
            addName(main_window::kAddFirstName, main_window::kFirstNamesFrame, "zelda"));
        ASSERT_NO_FATAL_FAILURE(
            addName(main_window::kAddLastName, main_window::kLastNamesFrame, "quill"));
        ASSERT_NO_FATAL_FAILURE(closeAndExpectCleanEnd(mainWindow().value()));
    }
    {
        SCOPED_TRACE("second start: names drawn from the User List are the names added");
        ASSERT_NO_FATAL_FAILURE(startProgram());
        ASSERT_NO_FATAL_FAILURE(waitForMainWindow(kStartUpTimeout));
        ASSERT_NO_FATAL_FAILURE(typeCount("3"));
        ASSERT_NO_FATAL_FAILURE(startGenerating());
        ASSERT_NO_FATAL_FAILURE(saveAsTextFile());
        EXPECT_EQ(savedLines().lines, (Names{"Zelda Quill", "Zelda Quill", "Zelda Quill"}));
        ASSERT_NO_FATAL_FAILURE(closeAndExpectCleanEnd(resultsWindow().value()));
    }
    const fs::path firstUsersCopy = sandbox_->usersDatabase();
    {
        SCOPED_TRACE("another user: a fresh copy of the template");
        sandbox_->useHome("another-home");
        ASSERT_NO_FATAL_FAILURE(startProgram());
        ASSERT_NO_FATAL_FAILURE(waitForMainWindow(kStartUpTimeout));
        ASSERT_NO_FATAL_FAILURE(closeAndExpectCleanEnd(mainWindow().value()));
    }
    ASSERT_NE(sandbox_->usersDatabase(), firstUsersCopy);
    EXPECT_EQ(namesIn("firstname", "user_firstname"), Names{});
    EXPECT_GT(namesIn("Last", "system_lastname").size(), 1000u);
    EXPECT_EQ(query(firstUsersCopy, "select firstname from user_firstname"), Names{"zelda"});
}

TEST_F(InstalledProgramTest, ANewerTemplateRefreshesTheBuiltInListAndKeepsTheUserList) {
    ASSERT_NO_FATAL_FAILURE(startProgram());
    ASSERT_NO_FATAL_FAILURE(waitForMainWindow(kStartUpTimeout));
    ASSERT_NO_FATAL_FAILURE(closeAndExpectCleanEnd(mainWindow().value()));
    query(sandbox_->usersDatabase(), "insert into user_firstname (firstname) values ('Zelda')");
    query(sandbox_->usersDatabase(), "insert into user_lastname (lastname) values ('Quill')");
    // The upgrade: the template of the next version holds other last names.
    const std::string edition = query(sandbox_->templateFile(), "pragma user_version").at(0);
    // The built-in tables show the template's origins: their last names change.
    query(sandbox_->templateFile(), "delete from system_lastname");
    query(sandbox_->templateFile(), "insert into system_lastname (Last) values ('Newbuilt')");
    query(sandbox_->templateFile(), "delete from origin_name where list = 'last'");
    query(sandbox_->templateFile(),
          "insert into origin_name (origin, list, name) select tag, 'last', 'Newbuilt' from "
          "origin");
    query(sandbox_->templateFile(),
          "pragma user_version=" + std::to_string(std::stoll(edition) ^ 2));

    ASSERT_NO_FATAL_FAILURE(startProgram());
    ASSERT_NO_FATAL_FAILURE(waitForMainWindow(kStartUpTimeout));
    ASSERT_NO_FATAL_FAILURE(closeAndExpectCleanEnd(mainWindow().value()));
    EXPECT_EQ(namesIn("Last", "system_lastname"), Names{"Newbuilt"});
    EXPECT_EQ(namesIn("firstname", "user_firstname"), Names{"Zelda"});
    EXPECT_EQ(namesIn("lastname", "user_lastname"), Names{"Quill"});
    EXPECT_GT(namesIn("Mfirst", "system_mfirstname").size(), 1000u);
}

}  // namespace
}  // namespace e2e
