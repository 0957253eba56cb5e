// The origin button and its chooser in a real X server: choosing an origin
// changes the names generated, the choices are stored at once and come back
// on the next start, and the main window's controls stay where the window
// designer's table puts them.

#include <algorithm>

#include "real_window_fixture.h"

namespace e2e {
namespace {

constexpr Place kOriginFrameInWindow{
    main_window::kListOptionsFrame.left + main_window::kOriginFrame.left,
    main_window::kListOptionsFrame.top + main_window::kOriginFrame.top,
    main_window::kOriginFrame.width, main_window::kOriginFrame.height};

class OriginWindowTest : public RealWindowTest {
protected:
    void openChooser() {
        const Point button = centreOf(main_window::kOriginButton, kOriginFrameInWindow);
        x_->click(mainWindow().value(), button.x, button.y);
        ASSERT_TRUE(waitFor("the origin chooser", [&] { return originChooser().has_value(); }));
        x_->focus(originChooser().value());
    }

    // The last names of the origin as names.mdb stores them, compared as rows
    // show them: the list views write them in their proper case, without
    // blanks ("Di Marco" as "Dimarco").
    std::set<std::string> lastNamesOf(const std::string& tag) {
        std::set<std::string> names;
        for (const std::string& name :
             query(sandbox_->programFolder() / "names.mdb",
                   "select name from origin_name where origin = '" + tag + "' and list = 'last'"))
            names.insert(folded(name));
        return names;
    }
    static std::string folded(const std::string& text) {
        std::string folded;
        for (const char c : text) {
            if (c == ' ') continue;
            folded += (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
        }
        return folded;
    }

    // Generates and saves 200 names; the family names of the saved rows.
    std::vector<std::string> generatedLastNames() {
        typeCount("200");
        startGenerating();
        saveAsTextFile();
        std::vector<std::string> last;
        for (const std::string& line : savedLines().lines)
            last.push_back(line.substr(line.find(' ') + 1));
        return last;
    }

    ::testing::AssertionResult allAmong(const std::vector<std::string>& names,
                                        const std::set<std::string>& known) {
        if (names.empty()) return ::testing::AssertionFailure() << "no names";
        for (const std::string& name : names)
            if (!known.count(folded(name)))
                return ::testing::AssertionFailure() << "\"" << name << "\"";
        return ::testing::AssertionSuccess();
    }
};

TEST_F(OriginWindowTest, AnOriginChosenInTheChooserIsGeneratedAndComesBackOnTheNextStart) {
    const std::set<std::string> italian = lastNamesOf("it");
    ASSERT_GT(italian.size(), 100u);
    {
        SCOPED_TRACE("first start: tick \"As Common As In Life\", find Italian and choose it");
        ASSERT_NO_FATAL_FAILURE(startProgram());
        ASSERT_NO_FATAL_FAILURE(waitForMainWindow(kStartUpTimeout));
        EXPECT_EQ(setting("Origin"), "en-US");  // the C locale's default
        ASSERT_NO_FATAL_FAILURE(openChooser());
        const Point weighted = indicatorOf(origin_chooser::kWeighted, Place{});
        x_->click(originChooser().value(), weighted.x, weighted.y);
        ASSERT_TRUE(waitForSetting("Weighted", "True"));
        const Point filter = centreOf(origin_chooser::kFilterBox);
        x_->click(originChooser().value(), filter.x, filter.y);
        x_->type("ital");
        x_->pressKey(XK_Return);
        ASSERT_TRUE(waitForSetting("Origin", "it"));
        x_->requestClose(originChooser().value());
        ASSERT_TRUE(waitFor("the chooser to close", [&] { return !originChooser().has_value(); }));
        const std::vector<std::string> last = generatedLastNames();
        EXPECT_EQ(last.size(), 200u);
        EXPECT_TRUE(allAmong(last, italian));
        ASSERT_NO_FATAL_FAILURE(closeAndExpectCleanEnd(resultsWindow().value()));
    }
    {
        SCOPED_TRACE("second start: the stored choices, untouched, give Italian names again");
        ASSERT_NO_FATAL_FAILURE(startProgram());
        ASSERT_NO_FATAL_FAILURE(waitForMainWindow(kStartUpTimeout));
        EXPECT_EQ(setting("Origin"), "it");
        EXPECT_EQ(setting("Weighted"), "True");
        EXPECT_TRUE(allAmong(generatedLastNames(), italian));
        ASSERT_NO_FATAL_FAILURE(closeAndExpectCleanEnd(resultsWindow().value()));
    }
}

TEST_F(OriginWindowTest, EachDrawingChoiceIsStoredAtItsClickAndShownAgainOnTheNextStart) {
    const Point weighted = indicatorOf(origin_chooser::kWeighted, Place{});
    const Point invent = indicatorOf(origin_chooser::kInvent, Place{});
    // Each start clicks both boxes and steps the decades once: the second
    // start stores the opposites, so the chooser showed what was stored.
    const struct {
        const char* trace;
        const char* ticked;
        const char* born;
    } starts[] = {
        {"first start: tick both boxes, then the decade after \"Any Year\"", "True", "1880s"},
        {"second start: the chooser shows the stored choices", "False", "1890s"}};
    for (const auto& start : starts) {
        SCOPED_TRACE(start.trace);
        ASSERT_NO_FATAL_FAILURE(startProgram());
        ASSERT_NO_FATAL_FAILURE(waitForMainWindow(kStartUpTimeout));
        ASSERT_NO_FATAL_FAILURE(openChooser());
        x_->click(originChooser().value(), invent.x, invent.y);
        ASSERT_TRUE(waitForSetting("Invent", start.ticked));
        x_->click(originChooser().value(), weighted.x, weighted.y);
        ASSERT_TRUE(waitForSetting("Weighted", start.ticked));
        x_->pressKey(XK_Tab);  // from the ticked box to the decades, which stay closed
        x_->pressKey(XK_Down);
        ASSERT_TRUE(waitForSetting("Born", start.born));
        EXPECT_EQ(setting("Origin"), "en-US") << "stored with the other keys";
        ASSERT_NO_FATAL_FAILURE(closeAndExpectCleanEnd(mainWindow().value()));
    }
}

// A control of the table is found when a window at its depth has its place.
bool hasWindowAt(const std::vector<ChildWindow>& windows, const main_window::Control& control) {
    return std::any_of(windows.begin(), windows.end(), [&](const ChildWindow& window) {
        return window.depth == control.depth && window.x == pixels(control.place.left) &&
               window.y == pixels(control.place.top) &&
               window.width == pixels(control.place.width) &&
               window.height == pixels(control.place.height);
    });
}

TEST_F(OriginWindowTest, TheMainWindowsControlsSitWhereTheTableOfTwipsPutsThem) {
    ASSERT_NO_FATAL_FAILURE(startProgram(/*nativeWindows=*/true));
    ASSERT_NO_FATAL_FAILURE(waitForMainWindow(kStartUpTimeout));
    const std::vector<ChildWindow> windows = x_->childWindows(mainWindow()->id);
    ASSERT_FALSE(windows.empty()) << "the controls are no windows of their own";
    for (const main_window::Control& control : main_window::kControls)
        EXPECT_TRUE(hasWindowAt(windows, control)) << control.name;
    EXPECT_TRUE(hasWindowAt(windows, {"origin frame", main_window::kOriginFrame, 2}));
    EXPECT_TRUE(hasWindowAt(windows, {"origin button", main_window::kOriginButton, 3}));
    ASSERT_NO_FATAL_FAILURE(closeAndExpectCleanEnd(mainWindow().value()));
}

}  // namespace
}  // namespace e2e
