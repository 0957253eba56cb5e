#include <vector>

#include <QSignalSpy>

#include <gtest/gtest.h>

#include "results/result_list.h"
#include "support/qt_printers.h"

namespace {

TEST(ResultList, RowsAreJoinedFromPiecesAndKeptInOrder) {
    results::ResultList list;
    list.addUtf8Row({"Anna", " ", "Berg"});
    list.addUtf8Row({""});
    list.addUtf8Row({"Zo\xC3\xAB", " ", "\xC3\x98ster"});
    list.addUtf8Row({" "});
    ASSERT_EQ(list.count(), 4);
    EXPECT_EQ(list.text(0), "Anna Berg");
    EXPECT_EQ(list.text(1), "");
    EXPECT_EQ(list.text(2), QString::fromUtf8("Zoë Øster"));
    EXPECT_EQ(list.utf8(2), "Zo\xC3\xAB \xC3\x98ster");
    EXPECT_EQ(list.text(3), " ");
    EXPECT_EQ(list.linesWithCrLf(),
              QByteArray("Anna Berg\r\n\r\nZo\xC3\xAB \xC3\x98ster\r\n \r\n"));
}

TEST(ResultList, TheViewLearnsOfNewRowsWhenTheyArePublished) {
    results::ResultList list;
    QSignalSpy resets(&list, &QAbstractItemModel::modelReset);
    list.addUtf8Row({"Anna"});
    list.addUtf8Row({"Tom"});
    EXPECT_EQ(list.rowCount(), 0);
    EXPECT_FALSE(list.data(list.index(0)).isValid());
    list.publish();
    EXPECT_EQ(list.rowCount(), 2);
    EXPECT_EQ(list.data(list.index(1)).toString(), "Tom");
    EXPECT_EQ(resets.count(), 1);
    list.publish();  // nothing new: no notification
    EXPECT_EQ(resets.count(), 1);
    list.clear();
    EXPECT_EQ(list.rowCount(), 0);
    EXPECT_EQ(list.count(), 0);
    EXPECT_EQ(list.linesWithCrLf(), QByteArray());
}

TEST(ResultList, LinesOfRowRangesComeInListOrderOncePerRow) {
    results::ResultList list;
    for (const char* name : {"Anna Berg", "", "Zoë Øster", "Tom"}) list.addUtf8Row({name});
    using Ranges = std::vector<results::ResultList::RowRange>;
    const struct {
        Ranges ranges;
        QString lines;
    } cases[] = {
        {{{0, 3}}, QString::fromUtf8("Anna Berg\n\nZoë Øster\nTom")},
        {{{3, 3}, {0, 0}}, "Anna Berg\nTom"},
        {{{1, 2}, {0, 1}, {2, 3}}, QString::fromUtf8("Anna Berg\n\nZoë Øster\nTom")},
        {{{2, 2}, {3, 3}}, QString::fromUtf8("Zoë Øster\nTom")},
        {{{1, 1}}, ""},
        {{}, ""},
    };
    for (const auto& c : cases) EXPECT_EQ(list.lines(c.ranges), c.lines);
}

TEST(ResultList, ANameRowShowsItsPartsInOrderAndKeepsWhereTheyMeet) {
    const struct {
        std::string_view leading, trailing;
        bool blank, familyFirst;
        std::string_view row, given, family;
        bool hasSecond;
    } cases[] = {
        {"Anna", "Berg", true, false, "Anna Berg", "Anna", "Berg", true},
        {"Kov\xC3\xA1"
         "cs",
         "Anna", true, true,
         "Kov\xC3\xA1"
         "cs Anna",
         "Anna",
         "Kov\xC3\xA1"
         "cs",
         true},
        {"Kim", "Minjun", false, true, "KimMinjun", "Minjun", "Kim", true},
        {"Mar\xC3\xAD"
         "a",
         "de la Cruz", true, false,
         "Mar\xC3\xAD"
         "a de la Cruz",
         "Mar\xC3\xAD"
         "a",
         "de la Cruz", true},
        {"Anna", "", true, false, "Anna ", "Anna", "", false},
    };
    results::ResultList list;
    list.addUtf8Row({"Ola Nordmann Hansen"});
    for (const auto& c : cases) list.addNameRow(c.leading, c.trailing, c.blank, c.familyFirst);
    list.addUtf8Row({"Tom Hale Moss"});
    ASSERT_EQ(list.count(), static_cast<int>(std::size(cases)) + 2);
    const auto expectCells = [&](int row, std::string_view first, std::string_view second,
                                 bool hasSecond) {
        const results::ResultList::TwoCells cells = list.twoCells(row);
        EXPECT_EQ(cells.first, first) << row;
        EXPECT_EQ(cells.second, second) << row;
        EXPECT_EQ(cells.hasSecond, hasSecond) << row;
    };
    // Rows without parts, before and after, split at their blanks.
    expectCells(0, "Ola", "Nordmann", true);
    expectCells(list.count() - 1, "Tom", "Hale", true);
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const auto& c = cases[i];
        const int row = static_cast<int>(i) + 1;
        EXPECT_EQ(list.utf8(row), c.row);
        expectCells(row, c.given, c.family, c.hasSecond);
    }
    list.clear();
    list.addUtf8Row({"Tom Hale"});
    expectCells(0, "Tom", "Hale", true);
}

}  // namespace
