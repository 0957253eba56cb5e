#include <vector>

#include <QRegularExpression>
#include <QStringList>

#include <gtest/gtest.h>

#include "generate/generation.h"
#include "generate/name_text.h"
#include "generate/random_generator.h"
#include "guarded/failure_report.h"
#include "support/qt_printers.h"

namespace {

struct Options {
    bool option4 = true;
    bool option5 = false;
    bool option6 = false;
    bool firstAndLast() const { return option4; }
    bool firstOnly() const { return option5; }
    bool lastOnly() const { return option6; }
};

struct Rows {
    QStringList rows;
    void addUtf8Row(std::initializer_list<std::string_view> pieces) {
        QString row;
        for (std::string_view piece : pieces)
            row += QString::fromUtf8(piece.data(), static_cast<qsizetype>(piece.size()));
        rows << row;
    }
};

class ProduceRowsTest : public ::testing::Test {
protected:
    QStringList run(std::int32_t count, const QStringList& first, const QStringList& last,
                    Options options = {}) {
        guarded::LetThrough guard;
        Rows sink;
        generate::produceRows(guard, random, count, count, first, last, options, sink,
                              [this](int position) { positions.push_back(position); });
        return sink.rows;
    }

    generate::RandomGenerator random{20210831};
    std::vector<int> positions;
    const QStringList firstNames{"Anna", "Tom", "Eve", "Lena", "Paul"};
    const QStringList lastNames{"Berg", "Hale", "Moss"};
};

TEST_F(ProduceRowsTest, EachRowDrawsTheLastNameThenTheFirstName) {
    const QStringList rows = run(100, firstNames, lastNames);
    ASSERT_EQ(rows.size(), 100);
    generate::RandomGenerator replay{20210831};
    for (const QString& row : rows) {
        const int j = generate::RandomIndex(replay, 3);
        const int k = generate::RandomIndex(replay, 5);
        EXPECT_EQ(row, firstNames[k - 1] + " " + lastNames[j - 1]);
    }
    // Every entry comes out somewhere in 100 draws; nothing else does.
    for (const QString& name : firstNames)
        EXPECT_TRUE(rows.filter(QRegularExpression("^" + name + " ")).size() > 0)
            << name.toStdString();
    EXPECT_EQ(positions.size(), 100u);
    EXPECT_EQ(positions.front(), 1);
    EXPECT_EQ(positions.back(), 100);
}

TEST_F(ProduceRowsTest, PartOfNameChoosesWhatEachRowHolds) {
    generate::RandomGenerator replay{20210831};
    Options firstOnly{false, true, false};
    const QStringList first = run(20, firstNames, lastNames, firstOnly);
    Options lastOnly{false, false, true};
    const QStringList last = run(20, firstNames, lastNames, lastOnly);
    ASSERT_EQ(first.size(), 20);
    ASSERT_EQ(last.size(), 20);
    // Both draws happen on every row whatever is written.
    for (int i = 0; i < 20; ++i) {
        generate::RandomIndex(replay, 3);
        const int k = generate::RandomIndex(replay, 5);
        EXPECT_EQ(first[i], firstNames[k - 1]);
    }
    for (int i = 0; i < 20; ++i) {
        const int j = generate::RandomIndex(replay, 3);
        generate::RandomIndex(replay, 5);
        EXPECT_EQ(last[i], lastNames[j - 1]);
    }
    EXPECT_TRUE(run(20, firstNames, lastNames, Options{false, false, false}).isEmpty());
}

TEST_F(ProduceRowsTest, OneEntryListsGiveThatEntryOnEveryRow) {
    const QStringList rows = run(10, {"Anna"}, {"Berg"});
    EXPECT_EQ(rows, QStringList(10, "Anna Berg"));
}

TEST_F(ProduceRowsTest, EmptyListsLeaveTheirPartEmpty) {
    EXPECT_EQ(run(3, {"Anna"}, {}), QStringList(3, "Anna "));
    EXPECT_EQ(run(3, {}, {"Berg"}), QStringList(3, " Berg"));
    EXPECT_EQ(run(3, {}, {}), QStringList(3, " "));
    EXPECT_EQ(run(3, {}, {"Berg"}, Options{false, true, false}), QStringList(3, ""));
}

TEST_F(ProduceRowsTest, EntriesLoseTheirBlanksAndComeInProperCase) {
    EXPECT_EQ(run(2, {"Anna Lena"}, {"Van Der Berg"}), QStringList(2, "Annalena Vanderberg"));
    EXPECT_EQ(run(1, {"mcDONALD"}, {"o NEIL"}), QStringList{"Mcdonald Oneil"});
}

TEST_F(ProduceRowsTest, NoCountNoRows) {
    EXPECT_TRUE(run(0, firstNames, lastNames).isEmpty());
    EXPECT_TRUE(run(-5, firstNames, lastNames).isEmpty());
    EXPECT_TRUE(positions.empty());
}

TEST(RemoveBlanks, RemovesOnlyCharacter32) {
    EXPECT_EQ(generate::RemoveBlanks(" Anna  Lena "), "AnnaLena");
    EXPECT_EQ(generate::RemoveBlanks("Anna\tLena"), "Anna\tLena");
    EXPECT_EQ(generate::RemoveBlanks(""), "");
}

}  // namespace

namespace {

TEST(ShownNames, KeepsConversionsOnlyWhileTheListIsUnchanged) {
    QStringList list{"anna lena", "tom"};
    generate::ShownNames shown;
    EXPECT_EQ(shown.at(list, 1), "Annalena");
    EXPECT_EQ(shown.at(list, 2), "Tom");
    EXPECT_EQ(shown.at(list, 1), "Annalena");
    list[0] = "EVE";
    EXPECT_EQ(shown.at(list, 1), "Eve");
    list.removeAt(0);
    EXPECT_EQ(shown.at(list, 1), "Tom");
    EXPECT_THROW(shown.at(list, 2), platform::Failure);
    EXPECT_THROW(shown.at(list, 0), platform::Failure);
}

}  // namespace

namespace {

// Short names are kept in their slots, longer ones apart: both read back whole.
TEST(ShownNames, GivesNamesOfEveryLength) {
    const QStringList list{"",
                           "bo",
                           "twelve bytes",
                           "thirteen byte",
                           "ämilie-ßophie",
                           "zoë",
                           QString(50, QChar(0x0416))};
    const QStringList shown{"",
                            "Bo",
                            "Twelvebytes",
                            "Thirteenbyte",
                            "Ämilie-ßophie",
                            "Zoë",
                            QChar(0x0416) + QString(49, QChar(0x0436))};
    generate::ShownNames names;
    for (int pass = 0; pass < 2; ++pass) {
        for (int i = static_cast<int>(list.size()); i >= 1; --i)
            EXPECT_EQ(QString::fromUtf8(QByteArrayView(names.at(list, i))), shown[i - 1]) << i;
    }
}

}  // namespace
