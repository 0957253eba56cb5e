// The built program in a real X server: Xvfb, Qt's xcb platform, a fresh
// settings folder and a copy of names.mdb. The test plays the user through
// the X server (pointer and keys by XTest, closing by a WM_DELETE_WINDOW
// message) and judges what the user would see: which windows are shown, and
// the files the program writes (the settings file and results.txt).

#include "real_window_fixture.h"

namespace e2e {
namespace {

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

}  // namespace
}  // namespace e2e
