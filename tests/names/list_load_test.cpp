// The list load against the two list models, in each option state.
#include <QFile>

#include <gtest/gtest.h>

#include "names/list_load.h"
#include "names/name_list_model.h"
#include "platform/database.h"
#include "platform/failure.h"
#include "platform/pointer_shape.h"
#include "support/open_handles.h"
#include "support/scoped_locale.h"
#include "support/temp_database.h"

namespace {

using names::ListOptions;
using testsupport::TempDatabase;

names::NameTables sampleTables() {
    return {.maleFirst = {"bob", "Anna", "émile"},
            .femaleFirst = {"ANNA", "zoë", "carla"},
            .last = {"smith", "Øster", "smith", "ABBOTT"},
            .userFirst = {"zed", "amy"},
            .userLast = {"young", "Xu", "young"}};
}

struct Loaded {
    QStringList first;
    QStringList last;
    QList<platform::PointerShape> pointers;
    QString failure;
};

Loaded load(const QString& path, const ListOptions& options,
            const QStringList& firstBefore = {"keep1"}, const QStringList& lastBefore = {"keep2"}) {
    names::NameListModel first;
    names::NameListModel last;
    first.addAll(firstBefore);
    last.addAll(lastBefore);
    Loaded result;
    try {
        names::loadLists(path, options, first, last,
                         [&](platform::PointerShape p) { result.pointers << p; });
    } catch (const platform::Failure& failure) {
        result.failure = failure.description();
    }
    result.first = first.entries();
    result.last = last.entries();
    EXPECT_EQ(testsupport::openHandlesTo(path), 0);
    return result;
}

TEST(ListLoad, FillsBothListsByTheOptions) {
    const testsupport::ScopedLocale english(QLocale(QLocale::English, QLocale::UnitedStates));
    TempDatabase db(sampleTables());
    const QStringList builtInLast{"Abbott", "Øster", "Smith", "Smith"};
    const struct {
        const char* state;
        ListOptions options;
        QStringList first;
        QStringList last;
    } cases[] = {
        {"user list", {false, true, false, false, false}, {"Amy", "Zed"}, {"Xu", "Young", "Young"}},
        {"user list ignores gender",
         {false, true, true, false, false},
         {"Amy", "Zed"},
         {"Xu", "Young", "Young"}},
        {"built-in, both",
         {true, false, true, false, false},
         {"Anna", "Bob", "Carla", "Émile", "Zoë"},
         builtInLast},
        {"built-in, male",
         {true, false, false, true, false},
         {"Anna", "Bob", "Émile"},
         builtInLast},
        {"built-in, female",
         {true, false, false, false, true},
         {"Anna", "Carla", "Zoë"},
         builtInLast},
        {"built-in, no gender chosen", {true, false, false, false, false}, {"keep1"}, builtInLast},
        {"no list chosen", {false, false, true, false, false}, {"keep1"}, {"keep2"}},
    };
    for (const auto& c : cases) {
        const Loaded loaded = load(db.path(), c.options);
        EXPECT_EQ(loaded.failure, QString()) << c.state;
        EXPECT_EQ(loaded.first, c.first) << c.state;
        EXPECT_EQ(loaded.last, c.last) << c.state;
        EXPECT_EQ(loaded.pointers, (QList<platform::PointerShape>{platform::PointerShape::Hourglass,
                                                                  platform::PointerShape::Normal}))
            << c.state;
    }
}

TEST(ListLoad, AnEmptyUserTableGivesAnEmptyList) {
    TempDatabase db;
    const Loaded loaded = load(db.path(), {false, true, false, false, false});
    EXPECT_EQ(loaded.failure, QString());
    EXPECT_TRUE(loaded.first.isEmpty());
    EXPECT_TRUE(loaded.last.isEmpty());
}

TEST(ListLoad, AMissingDatabaseChangesNothingAndTheBusyPointerEnds) {
    TempDatabase db(sampleTables());
    QFile::remove(db.path());
    const Loaded loaded = load(db.path(), {true, false, true, false, false});
    EXPECT_EQ(loaded.failure, "unable to open database file");
    EXPECT_EQ(loaded.first, QStringList{"keep1"});
    EXPECT_EQ(loaded.last, QStringList{"keep2"});
    EXPECT_EQ(loaded.pointers, (QList<platform::PointerShape>{platform::PointerShape::Hourglass,
                                                              platform::PointerShape::Normal}));
}

TEST(ListLoad, AFailingQueryLeavesItsListAsItWasAndStopsTheLoad) {
    TempDatabase db(sampleTables());
    db.execute("drop table user_lastname");
    Loaded loaded = load(db.path(), {false, true, false, false, false});
    EXPECT_EQ(loaded.failure, "no such table: user_lastname");
    EXPECT_EQ(loaded.first, (QStringList{"Amy", "Zed"}));  // loaded before the failure
    EXPECT_EQ(loaded.last, QStringList{"keep2"});
    EXPECT_EQ(loaded.pointers.last(), platform::PointerShape::Normal);

    // The built-in list loads last names first: their failure leaves both lists.
    db.execute("drop table system_lastname");
    loaded = load(db.path(), {true, false, true, false, false});
    EXPECT_EQ(loaded.failure, "no such table: system_lastname");
    EXPECT_EQ(loaded.first, QStringList{"keep1"});
    EXPECT_EQ(loaded.last, QStringList{"keep2"});
}

TEST(ListLoad, AStoredNameWithAnApostropheIsListedLikeAnyOther) {
    TempDatabase db;
    db.insert("user_firstname", "d'arcy");
    db.insert("user_firstname", "ANNA LENA");
    const Loaded loaded = load(db.path(), {false, true, false, false, false});
    EXPECT_EQ(loaded.first, (QStringList{"Anna Lena", "D'arcy"}));
}

}  // namespace
