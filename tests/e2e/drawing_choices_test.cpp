// The drawing choices in a real X server: what "As Common As In Life" and
// "Invent New Names Like These" give in the window is what the command line
// gives for the same choices, judged by checks that hold for any seed; and
// unreadable stored choices are each reported once at start-up.

#include "real_window_fixture.h"

namespace e2e {
namespace {

// The code points of UTF-8 text (well-formed text only: the program writes it).
std::u32string codePoints(const std::string& text) {
    std::u32string points;
    for (std::size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        const int extra = lead < 0x80 ? 0 : lead < 0xE0 ? 1 : lead < 0xF0 ? 2 : 3;
        char32_t point = extra == 0 ? lead : lead & (0x3F >> extra);
        for (int k = 1; k <= extra && i + k < text.size(); ++k)
            point = (point << 6) | (static_cast<unsigned char>(text[i + k]) & 0x3F);
        points.push_back(point);
        i += extra + 1;
    }
    return points;
}

// Lower case for the Latin and Cyrillic capitals, blanks left out, as the
// list views write names in their proper case without blanks.
std::u32string folded(const std::string& name) {
    std::u32string fold;
    for (char32_t c : codePoints(name)) {
        if (c == U' ') continue;
        if ((c >= U'A' && c <= U'Z') || (c >= 0x410 && c <= 0x42F)) c += 0x20;
        if (c >= 0x400 && c <= 0x40F) c += 0x50;
        fold.push_back(c);
    }
    return fold;
}

using FoldedNames = std::set<std::u32string>;

FoldedNames foldedAll(const std::vector<std::string>& names) {
    FoldedNames set;
    for (const std::string& name : names) set.insert(folded(name));
    return set;
}

std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream stream(text);
    for (std::string line; std::getline(stream, line);) lines.push_back(line);
    return lines;
}

// What a weighted draw of a few thousand en-US family names shows whatever
// the seed: every name from the distribution (a uniform draw takes a third of
// its names from the list's names without a frequency), and the two commonest
// names often (Smith and Johnson are one person in 55: about 55 in 3000 names,
// where a uniform draw gives about none).
::testing::AssertionResult drawnAsCommonAsInLife(const std::vector<std::string>& names,
                                                 const FoldedNames& distribution) {
    int commonest = 0;
    for (const std::string& name : names) {
        const std::u32string fold = folded(name);
        if (!distribution.count(fold))
            return ::testing::AssertionFailure() << "\"" << name << "\" is not in the distribution";
        commonest += fold == U"smith" || fold == U"johnson";
    }
    if (names.size() >= 3000 && commonest >= 15) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
           << commonest << " of Smith and Johnson in " << names.size() << " names";
}

TEST_F(RealWindowTest, WeightedFamilyNamesAreTheCommandLinesDistribution) {
    const fs::path database = sandbox_->programFolder() / "names.mdb";
    const std::vector<std::string> packs =
        query(database,
              "select names from origin_pack where origin = 'en-US' and list = 'last' "
              "and full = 1");
    ASSERT_EQ(packs.size(), 1u);
    const FoldedNames distribution = foldedAll(linesOf(packs.front()));
    const FoldedNames listed = foldedAll(
        query(database, "select name from origin_name where origin = 'en-US' and list = 'last'"));
    ASSERT_GT(distribution.size(), 10000u);
    ASSERT_GT(listed.size(), distribution.size() + 5000) << "names without a frequency";

    writeSettings({{"Origin", "en-US"},
                   {"Weighted", "True"},
                   {"Option4", "False"},
                   {"Option5", "False"},
                   {"Option6", "True"},
                   {"Text1", "3000"}});
    ASSERT_NO_FATAL_FAILURE(startProgram());
    ASSERT_NO_FATAL_FAILURE(waitForMainWindow(kStartUpTimeout));
    ASSERT_NO_FATAL_FAILURE(startGenerating());
    ASSERT_NO_FATAL_FAILURE(saveAsTextFile());
    const CrLfLines saved = savedLines();
    ASSERT_EQ(saved.lines.size(), 3000u);
    EXPECT_TRUE(drawnAsCommonAsInLife(saved.lines, distribution)) << "the window";
    EXPECT_TRUE(drawnAsCommonAsInLife(commandLine({"generate", "--weighted", "--origin", "en-US",
                                                   "--part", "last", "-n", "3000"}),
                                      distribution))
        << "the command line";
    ASSERT_NO_FATAL_FAILURE(closeAndExpectCleanEnd(resultsWindow().value()));
}

bool isCyrillic(char32_t c) {
    return c >= 0x400 && c <= 0x4FF;
}
bool isHangul(char32_t c) {
    return (c >= 0xAC00 && c <= 0xD7A3) || (c >= 0x1100 && c <= 0x11FF) ||
           (c >= 0x3130 && c <= 0x318F);
}

struct InventCase {
    const char* origin;
    bool (*inScript)(char32_t);
    bool familyFirst;
};

// The given names and the family names the origin's lists hold.
struct TrainingNames {
    FoldedNames given;
    FoldedNames family;
};

class InventedNames : public RealWindowTest, public ::testing::WithParamInterface<InventCase> {};

// Every row in the origin's script alone (blanks apart), and no part of it a
// name of the lists the names were invented from.
::testing::AssertionResult inventedLike(const std::vector<std::string>& rows,
                                        const TrainingNames& training, const InventCase& c) {
    if (rows.size() < 100) return ::testing::AssertionFailure() << rows.size() << " rows";
    for (const std::string& row : rows) {
        for (const char32_t point : codePoints(row))
            if (point != U' ' && !c.inScript(point))
                return ::testing::AssertionFailure() << "\"" << row << "\" leaves the script";
        std::istringstream parts(row);
        std::string first, second;
        parts >> first >> second;
        const std::string& given = c.familyFirst ? second : first;
        const std::string& family = c.familyFirst ? first : second;
        if (training.given.count(folded(given)) || training.family.count(folded(family)))
            return ::testing::AssertionFailure() << "\"" << row << "\" holds a training name";
    }
    return ::testing::AssertionSuccess();
}

TEST_P(InventedNames, AreInTheOriginsScriptAsOnTheCommandLineAndNoneIsATrainingName) {
    const InventCase& c = GetParam();
    const auto listed = [&](const char* lists) {
        return foldedAll(query(sandbox_->programFolder() / "names.mdb",
                               std::string("select name from origin_name where origin = '") +
                                   c.origin + "' and list in (" + lists + ")"));
    };
    const TrainingNames training{listed("'male', 'female', 'unisex'"),
                                 listed("'last', 'last_male', 'last_female'")};
    ASSERT_GT(training.given.size(), 100u);
    ASSERT_GT(training.family.size(), 10u);
    writeSettings({{"Origin", c.origin}, {"Invent", "True"}, {"Text1", "300"}});
    ASSERT_NO_FATAL_FAILURE(startProgram());
    ASSERT_NO_FATAL_FAILURE(waitForMainWindow(kStartUpTimeout));
    ASSERT_NO_FATAL_FAILURE(startGenerating());
    ASSERT_NO_FATAL_FAILURE(saveAsTextFile());
    EXPECT_TRUE(inventedLike(savedLines().lines, training, c)) << "the window";
    EXPECT_TRUE(
        inventedLike(commandLine({"generate", "--invent", "--origin", c.origin, "-n", "300"}),
                     TrainingNames{}, c))
        << "the command line";
    ASSERT_NO_FATAL_FAILURE(closeAndExpectCleanEnd(resultsWindow().value()));
}

INSTANTIATE_TEST_SUITE_P(Scripts, InventedNames,
                         ::testing::Values(InventCase{"ru", isCyrillic, false},
                                           InventCase{"ko", isHangul, true}),
                         [](const auto& info) { return std::string(info.param.origin); });

TEST_F(RealWindowTest, EachUnreadableStoredChoiceIsReportedOnceAndStaysAsWritten) {
    const std::vector<std::pair<std::string, std::string>> stored = {{"Origin", "xx-Nowhere"},
                                                                     {"Weighted", "maybe"},
                                                                     {"Born", "1955s"},
                                                                     {"Invent", "yes please"}};
    writeSettings(stored);
    ASSERT_NO_FATAL_FAILURE(startProgram());
    int reports = 0;
    for (;;) {
        std::optional<TopLevelWindow> box;
        ASSERT_TRUE(waitFor(
            "a report or the main window",
            [&] { return (box = openDialog()).has_value() || mainWindow().has_value(); },
            kStartUpTimeout, /*dialogExpected=*/true));
        if (!box) break;
        EXPECT_EQ(box->title, "Application Error");
        ++reports;
        ASSERT_TRUE(dismiss(*box, "the report to close"));
        ASSERT_LE(reports, 8) << "reports without end";
    }
    EXPECT_EQ(reports, static_cast<int>(stored.size()));
    for (const auto& [key, value] : stored) EXPECT_EQ(setting(key), value) << key;
    // The defaults stand in: the window generates full names.
    ASSERT_NO_FATAL_FAILURE(typeCount("20"));
    ASSERT_NO_FATAL_FAILURE(startGenerating());
    ASSERT_NO_FATAL_FAILURE(saveAsTextFile());
    for (const std::string& line : savedLines().lines)
        EXPECT_TRUE(isFirstAndLastName(line)) << line;
    ASSERT_NO_FATAL_FAILURE(closeAndExpectCleanEnd(resultsWindow().value()));
    for (const auto& [key, value] : stored) EXPECT_EQ(setting(key), value) << key;
}

}  // namespace
}  // namespace e2e
