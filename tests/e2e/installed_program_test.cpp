// The program as a package lays it out, in a real X server: each user's own
// copy of the name database, made from the installed template and refreshed
// from a newer one.

#include "real_window_fixture.h"

namespace e2e {
namespace {

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

TEST_F(InstalledProgramTest, ANewerTemplateRefreshesTheBuiltInListAndKeepsTheUsersNames) {
    ASSERT_NO_FATAL_FAILURE(startProgram());
    ASSERT_NO_FATAL_FAILURE(waitForMainWindow(kStartUpTimeout));
    ASSERT_NO_FATAL_FAILURE(closeAndExpectCleanEnd(mainWindow().value()));
    query(sandbox_->usersDatabase(), "insert into user_firstname (firstname) values ('Zelda')");
    query(sandbox_->usersDatabase(), "insert into user_lastname (lastname) values ('Quill')");
    // The user's own last name in the built-in list of the origin shown.
    query(sandbox_->usersDatabase(), "insert into system_lastname (Last) values ('Mine')");
    // The upgrade: the template of the next version holds other last names.
    const std::string edition = query(sandbox_->templateFile(), "pragma user_version").at(0);
    const std::string shown = query(sandbox_->templateFile(), "select tag from shown_origin").at(0);
    query(sandbox_->templateFile(),
          "delete from origin_name where list = 'last' and origin = '" + shown + "'");
    query(sandbox_->templateFile(), "insert into origin_name (origin, list, name) values ('" +
                                        shown + "', 'last', 'Newbuilt')");
    query(sandbox_->templateFile(),
          "pragma user_version=" + std::to_string(std::stoll(edition) ^ 2));

    ASSERT_NO_FATAL_FAILURE(startProgram());
    ASSERT_NO_FATAL_FAILURE(waitForMainWindow(kStartUpTimeout));
    ASSERT_NO_FATAL_FAILURE(closeAndExpectCleanEnd(mainWindow().value()));
    EXPECT_EQ(namesIn("Last", "system_lastname"), (Names{"Newbuilt", "Mine"}));
    EXPECT_EQ(namesIn("firstname", "user_firstname"), Names{"Zelda"});
    EXPECT_EQ(namesIn("lastname", "user_lastname"), Names{"Quill"});
    EXPECT_GT(namesIn("Mfirst", "system_mfirstname").size(), 1000u);
}

}  // namespace
}  // namespace e2e
