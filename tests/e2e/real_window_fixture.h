// The real-window tests' fixture: a sandbox laid out like a user's machine, a
// private X server with the program on it, and the steps a user takes there.
#pragma once

#include <gtest/gtest.h>
#include <sqlite3.h>
#include <stdlib.h>
#include <sys/stat.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iostream>
#include <memory>
#include <set>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "child_process.h"
#include "output_checks.h"
#include "window_layout.h"
#include "x_display.h"

namespace e2e {

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
inline std::vector<std::string> query(const fs::path& database, const std::string& sql) {
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
            copyProgram();
            fs::copy_file(QF_E2E_DATABASE, programFolder() / "names.mdb");
        } else if (package && *package) {
            fs::copy(fs::path(package) / "usr", root_ / "usr", fs::copy_options::recursive);
        } else {
            copyProgram();
            fs::create_directories(templateFile().parent_path());
            fs::copy_file(QF_E2E_TEMPLATE, templateFile());
        }
    }

    // The program and its module, at the place the program looks for it.
    void copyProgram() {
        fs::copy_file(QF_E2E_PROGRAM, program());
        const fs::path modules = programFolder() / QF_E2E_MODULE_FOLDER_FROM_PROGRAM;
        fs::create_directories(modules);
        fs::copy_file(QF_E2E_MODULE, modules / fs::path(QF_E2E_MODULE).filename());
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

    // `nativeWindows`: every control a window of its own, so that the X
    // server sees where each one sits.
    void startProgram(bool nativeWindows = false) {
        ASSERT_TRUE(!program_ || !program_->running()) << "the program is already running";
        LaunchPlan plan = session();
        if (nativeWindows) plan.setEnvironment["QT_USE_NATIVE_WINDOWS"] = "1";
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
    std::optional<TopLevelWindow> originChooser() {
        return x_->findViewable(origin_chooser::kTitle, origin_chooser::kWidth,
                                origin_chooser::kHeight);
    }
    std::optional<TopLevelWindow> resultsWindow() {
        return x_->findViewable(kWindowTitle, results_window::kWidth, results_window::kHeight);
    }
    // A shown message box: the failure report, or any titled window that is
    // neither of the program's two windows.
    std::optional<TopLevelWindow> openDialog() {
        for (const TopLevelWindow& window : x_->topLevelWindows()) {
            if (!window.viewable || window.title.empty()) continue;
            const bool chooser = window.title == origin_chooser::kTitle &&
                                 window.width == origin_chooser::kWidth &&
                                 window.height == origin_chooser::kHeight;
            if (chooser) continue;
            const bool form =
                window.title == kWindowTitle &&
                ((window.width == main_window::kWidth && window.height == main_window::kHeight) ||
                 (window.width == results_window::kWidth &&
                  window.height == results_window::kHeight));
            if (!form) return window;
        }
        return std::nullopt;
    }

    bool isShown(Window id) {
        for (const TopLevelWindow& window : x_->topLevelWindows())
            if (window.id == id && window.viewable) return true;
        return false;
    }

    // Answers the dialog with Return and waits until that very window is gone:
    // the next dialog may share its title and size.
    ::testing::AssertionResult dismiss(const TopLevelWindow& box, const std::string& what) {
        x_->focus(box);
        x_->pressKey(XK_Return);
        return waitFor(
            what, [&] { return !isShown(box.id); }, kStepTimeout,
            /*dialogExpected=*/true);
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
        ASSERT_TRUE(dismiss(*box, "the completion message to close"));
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

    // Writes the settings file as a user's earlier run (or an editor) left it.
    void writeSettings(const std::vector<std::pair<std::string, std::string>>& keys) {
        fs::create_directories(sandbox_->settingsFile().parent_path());
        std::string text = std::string("[") + kSettingsSection + "]\n";
        for (const auto& [key, value] : keys) text += key + "=" + value + "\n";
        std::ofstream(sandbox_->settingsFile()) << text;
    }

    // Runs the sandbox's program as a command line ("generate ..."): its output lines.
    std::vector<std::string> commandLine(const std::vector<std::string>& arguments) {
        LaunchPlan plan = session();
        plan.setEnvironment.erase("DISPLAY");
        plan.arguments = {sandbox_->program().string()};
        plan.arguments.insert(plan.arguments.end(), arguments.begin(), arguments.end());
        plan.outputFile = sandbox_->root() / "command-line.txt";
        fs::remove(plan.outputFile);
        ChildProcess process(plan);
        EXPECT_TRUE(process.waitForEnd(kEndTimeout) && process.exitedCleanly())
            << "the command line " << process.describeEnd();
        std::vector<std::string> lines;
        std::istringstream text(readFile(plan.outputFile));
        for (std::string line; std::getline(text, line);) lines.push_back(line);
        return lines;
    }

    std::unique_ptr<Sandbox> sandbox_;
    std::unique_ptr<VirtualScreen> screen_;
    std::unique_ptr<XSession> x_;
    std::unique_ptr<ChildProcess> program_;
    std::unique_ptr<WindowManager> windowManager_;
};

}  // namespace e2e
