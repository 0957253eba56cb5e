// The program run from the command line as a separate process.
#include <sqlite3.h>
#include <sys/stat.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSet>
#include <QTemporaryDir>
#include <QXmlStreamReader>

#include <gtest/gtest.h>

#include "cli/command_line.h"
#include "cli/unique_names.h"
#include "names/name_database_file.h"
#include "names/name_file.h"
#include "program_run.h"
#include "support/qt_printers.h"

namespace {

using namespace clitest;

TEST_P(UsageErrors, OneLineAndStatusTwo) {
    expectError(run(GetParam().arguments), 2, GetParam().says);
}

INSTANTIATE_TEST_SUITE_P(
    CommandLine, UsageErrors,
    ::testing::Values(
        UsageCase{"CountText", {"generate", "-n", "abc"}, "whole number from 1 to 2147483647"},
        UsageCase{"CountNegative", {"generate", "--count", "-5"}, "not \"-5\""},
        UsageCase{"CountDecimal", {"generate", "-n", "2.5"}, "not \"2.5\""},
        UsageCase{"CountZero", {"generate", "-n", "0"}, "at least 1"},
        UsageCase{"CountOverLimit", {"generate", "-n", "2147483648"}, "over the limit"},
        UsageCase{"CountFarOver", {"generate", "-n", "99999999999999999999999"}, "over the limit"},
        UsageCase{"CountMissing", {"generate", "-n"}, "Missing value after '-n'"},
        UsageCase{"Part", {"generate", "--part", "middle"}, "full, first or last, not \"middle\""},
        UsageCase{"List", {"names", "first", "--list", "mine"}, "builtin or user"},
        UsageCase{"Gender", {"generate", "--gender", "x"}, "both, male, female, unisex or any"},
        UsageCase{"GenderOfUserList",
                  {"generate", "--list", "user", "--gender", "male"},
                  "built-in list only"},
        UsageCase{"Format", {"generate", "--format", "pdf"}, "text, csv, jsonl, json or xlsx"},
        UsageCase{"XlsxWithoutFile", {"generate", "--format", "xlsx"}, "-o FILE"},
        UsageCase{"XlsxToStandardOutput", {"generate", "--format", "xlsx", "-o", "-"}, "-o FILE"},
        UsageCase{"XlsxTooManyRows",
                  {"generate", "--format", "xlsx", "-o", "a.xlsx", "-n", "1048577"},
                  "1,048,576 rows"},
        UsageCase{"Seed", {"generate", "--seed", "-1"}, "seed must be a whole number"},
        UsageCase{"UnknownOption", {"generate", "--fast"}, "Unknown option 'fast'"},
        UsageCase{"StrayArgument", {"generate", "10"}, "unexpected argument \"10\""},
        UsageCase{"UnknownCommand", {"make"}, "unknown command \"make\""},
        UsageCase{"UnknownFirstOption", {"--fast"}, "unknown option \"--fast\""},
        UsageCase{"NamesWithoutList", {"names"}, "first or last"},
        UsageCase{"NamesWrongList", {"names", "middle"}, "not \"middle\""},
        UsageCase{"ImportWithoutFile", {"import", "last"}, "at least one file"}));

TEST_F(CommandLine, HelpForEveryCommandAndVersion) {
    for (const QStringList& arguments : {QStringList{"--help"},
                                         {"-h"},
                                         {"generate", "--help"},
                                         {"names", "-h"},
                                         {"import", "--help"}}) {
        const Outcome outcome = run(arguments);
        EXPECT_EQ(outcome.status, 0);
        EXPECT_TRUE(outcome.out.startsWith("Usage: quillfern " +
                                           (arguments.size() > 1 ? arguments[0].toUtf8() : "")))
            << outcome.out.toStdString();
        EXPECT_TRUE(outcome.err.isEmpty());
    }
    // The data edition is the database's own stamp.
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(QFile::encodeName(database()).constData(), &db), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(db, "pragma user_version=123456", nullptr, nullptr, nullptr), SQLITE_OK);
    sqlite3_close(db);
    EXPECT_EQ(run({"--version"}).out, "quillfern " QF_VERSION "\ndata edition 123456\n");
}

TEST(Dispatch, WindowsForNothingOrOnlyTheWindowSystemsOptions) {
    EXPECT_FALSE(cli::wantsCommandLine(QStringList{}));
    EXPECT_FALSE(cli::wantsCommandLine({"-platform", "offscreen", "--style=fusion", "-reverse"}));
    EXPECT_TRUE(cli::wantsCommandLine({"generate"}));
    EXPECT_TRUE(cli::wantsCommandLine({"-platform", "offscreen", "names"}));
    EXPECT_TRUE(cli::wantsCommandLine({"--count"}));
}

// Small ranges keep a bit per number, huge ones a table of the numbers seen.
TEST(SeenNumbers, EachNumberIsNewOnlyOnce) {
    for (const std::uint64_t range : {std::uint64_t{5000}, std::uint64_t{1} << 62}) {
        cli::SeenNumbers seen(range, 2000);
        const auto number = [&](std::uint64_t i) { return (i * 2654435761u) % range; };
        for (std::uint64_t i = 0; i < 2000; ++i) EXPECT_TRUE(seen.firstTime(number(i))) << i;
        for (std::uint64_t i = 0; i < 2000; ++i) EXPECT_FALSE(seen.firstTime(number(i))) << i;
        EXPECT_TRUE(seen.firstTime(range - 1));
    }
}

// The default run: 100 full names from the built-in lists, as `names` prints them.
TEST_F(CommandLine, DefaultsDrawFullNamesFromTheListsThatNamesPrints) {
    const Outcome outcome = run({"generate"});
    ASSERT_EQ(outcome.status, 0) << outcome.err.toStdString();
    EXPECT_TRUE(outcome.err.isEmpty());
    const QSet<QString> first = setOf(lines(run({"names", "first"}).out));
    const QSet<QString> last = setOf(lines(run({"names", "last"}).out));
    ASSERT_GT(first.size(), 100);
    const QStringList rows = lines(outcome.out);
    ASSERT_EQ(rows.size(), 100);
    for (const QString& row : rows) {
        const QStringList parts = row.split(' ');
        ASSERT_EQ(parts.size(), 2) << row.toStdString();
        EXPECT_TRUE(first.contains(parts[0]) && last.contains(parts[1])) << row.toStdString();
    }
    EXPECT_EQ(QDir(path("config")).entryList(QDir::NoDotAndDotDot | QDir::AllEntries),
              QStringList{})
        << "no settings written";
}

TEST_F(CommandLine, PartsAndGendersDrawFromTheirOwnList) {
    struct Case {
        QStringList generate;
        QStringList names;
    };
    for (const Case& c :
         {Case{{"--part", "first"}, {"first"}}, Case{{"--part", "last"}, {"last"}},
          Case{{"--part", "first", "--gender", "male"}, {"first", "--gender", "male"}},
          Case{{"--part", "first", "--gender", "female"}, {"first", "--gender", "female"}}}) {
        const QStringList list = lines(run(QStringList{"names"} + c.names).out);
        const QStringList drawn =
            lines(run(QStringList{"generate", "-n", "3000"} + c.generate).out);
        ASSERT_EQ(drawn.size(), 3000);
        EXPECT_TRUE(setOf(list).contains(setOf(drawn))) << c.generate.join(' ').toStdString();
        EXPECT_GT(setOf(drawn).size(), 500) << "drawn across the list";
    }
    const QSet<QString> male = setOf(lines(run({"names", "first", "--gender", "male"}).out));
    const QSet<QString> female = setOf(lines(run({"names", "first", "--gender", "female"}).out));
    EXPECT_NE(male, female);
    EXPECT_EQ(setOf(lines(run({"names", "first"}).out)), male + female);
}

TEST_F(CommandLine, SeedRepeatsTheRunByteForByteAndWithoutOneRunsDiffer) {
    const QStringList seeded{"generate", "-n", "5000", "--seed", "18446744073709551615"};
    const Outcome once = run(seeded);
    ASSERT_EQ(once.status, 0);
    EXPECT_EQ(run(seeded).out, once.out);
    // The order of the lists follows no locale, so the names do not either.
    const Outcome elsewhere =
        shell("LC_ALL=C.UTF-8 LANG=C \"$Q\" " + seeded.join(' ') + "; " +
              "LC_ALL=sv_SE.UTF-8 LANG=sv_SE.UTF-8 \"$Q\" " + seeded.join(' '));
    EXPECT_EQ(elsewhere.out, once.out + once.out);
    EXPECT_NE(run({"generate", "-n", "5000", "--seed", "1"}).out, once.out);
    EXPECT_NE(run({"generate", "-n", "5000"}).out, run({"generate", "-n", "5000"}).out);
}

TEST_F(CommandLine, UniqueGivesEveryPossibleNameOnceAndRefusesOneMore) {
    setUserList({"Ann", "anne", "Bob", "Cy", "ANN"}, {"Lee", "Van Dyke", "Vandyke", "Moss"});
    // Four first names and three last names once blanks and case are gone.
    const Outcome all = run({"generate", "--list", "user", "--unique", "-n", "12"});
    ASSERT_EQ(all.status, 0) << all.err.toStdString();
    EXPECT_EQ(setOf(lines(all.out)).size(), 12);
    expectError(run({"generate", "--list", "user", "--unique", "-n", "13", "-o", "out.txt"}), 1,
                "only 12 full names, not 13");
    EXPECT_FALSE(QFile::exists(path("out.txt")));
    expectError(run({"generate", "--list", "user", "--unique", "--part", "last", "-n", "4"}), 1,
                "only 3 last names");
}

TEST_F(CommandLine, UniqueIsThePlainRunWithoutItsRepeats) {
    const Outcome many = run({"generate", "--unique", "-n", "200000", "--seed", "7"});
    ASSERT_EQ(many.status, 0);
    EXPECT_EQ(setOf(lines(many.out)).size(), 200000);
    // The same draws as without --unique, the repeats left out.
    const QStringList plain = lines(run({"generate", "-n", "1000", "--seed", "7"}).out);
    QStringList firstSeen;
    for (const QString& row : plain)
        if (!firstSeen.contains(row)) firstSeen << row;
    EXPECT_EQ(lines(many.out).mid(0, firstSeen.size()), firstSeen);
}

TEST_F(CommandLine, CsvQuotesCommasQuotesAndKeepsOtherLetters) {
    setUserList({"Smith, Jr", "Say \"hi\"", "Émile"}, {"Ørsted"});
    const Outcome outcome =
        run({"generate", "--list", "user", "--format", "csv", "--unique", "-n", "3", "--crlf"});
    ASSERT_EQ(outcome.status, 0) << outcome.err.toStdString();
    const QStringList rows = QString::fromUtf8(outcome.out).split(QStringLiteral("\r\n"));
    // The User List has no sexes or origins: those fields stay empty.
    EXPECT_EQ(rows.first(), "first,last,sex,origin");
    EXPECT_EQ(setOf(rows.mid(1)),
              (QSet<QString>{"\"Smith,jr\",Ørsted,,", "\"Say\"\"hi\"\"\",Ørsted,,",
                             "Émile,Ørsted,,", ""}));
    EXPECT_EQ(
        lines(run({"generate", "--list", "user", "--format", "csv", "--part", "last", "-n", "2"})
                  .out),
        (QStringList{"name,sex,origin", "Ørsted,,", "Ørsted,,"}));
}

TEST_F(CommandLine, LineEnds) {
    EXPECT_EQ(run({"generate", "-n", "50"}).out.count("\r"), 0);
    const QByteArray crlf = run({"generate", "-n", "50", "--crlf"}).out;
    EXPECT_EQ(crlf.count("\r\n"), 50);
    EXPECT_EQ(crlf.count("\n"), 50);
}

TEST_F(CommandLine, OutputFileIsReplacedWholeAndNothingGoesToStandardOutput) {
    writeFile(path("out.txt"), "old\n");
    const Outcome outcome = run({"generate", "-n", "70000", "--seed", "3", "-o", "out.txt"});
    EXPECT_EQ(outcome.status, 0);
    EXPECT_TRUE(outcome.out.isEmpty());
    EXPECT_EQ(readFile(path("out.txt")), run({"generate", "-n", "70000", "--seed", "3"}).out);
}

// As results.txt: a link's file gets the names and the link stays; a pipe
// or a link to a device is refused untouched, and nothing waits on it.
TEST_F(CommandLine, OutputFileIsARegularFileOrALinkToOne) {
    writeFile(path("real.txt"), "old\n");
    ASSERT_TRUE(QFile::link(path("real.txt"), path("link.txt")));
    ASSERT_EQ(run({"generate", "-n", "3", "-o", "link.txt"}).status, 0);
    EXPECT_TRUE(QFileInfo(path("link.txt")).isSymLink());
    EXPECT_EQ(lines(readFile(path("real.txt"))).size(), 3);

    ASSERT_EQ(::mkfifo(QFile::encodeName(path("pipe")).constData(), 0600), 0);
    ASSERT_TRUE(QFile::link(QStringLiteral("/dev/null"), path("null.xlsx")));
    for (const QString target : {"pipe", "null.xlsx"}) {
        const QString format = target.endsWith("xlsx") ? "xlsx" : "csv";
        expectError(run({"generate", "--format", format, "-o", target}), 1,
                    target + " is not a regular file");
    }
    EXPECT_EQ(QFileInfo(path("pipe")).isFile(), false);
    EXPECT_EQ(QFileInfo(path("null.xlsx")).symLinkTarget(), "/dev/null");
}

TEST_F(CommandLine, ReaderGoingAwayEndsQuietly) {
    const Outcome outcome =
        shell("\"$Q\" generate -n 2147483647 | head -n 2; echo \"${PIPESTATUS[0]}\" >&2");
    EXPECT_EQ(lines(outcome.out).size(), 2);
    EXPECT_EQ(outcome.err, "0\n");
}

// Full disk and file size limit: one line, status 1, no half-written file,
// the file from before as it was.
TEST_F(CommandLine, WritesThatFailLeaveNothingHalfWritten) {
    expectError(shell("\"$Q\" generate -n 100000 > /dev/full"), 1,
                "cannot write to standard output: No space left on device");
    for (const QString file : {"out.txt", "out.csv", "out.xlsx"}) {
        writeFile(path(file), "old\n");
        expectError(shell("ulimit -f 64; \"$Q\" generate -n 500000 --format " +
                          file.section('.', 1).replace("txt", "text") + " -o " + file),
                    1, "annot write " + file);
        EXPECT_EQ(readFile(path(file)), "old\n");
    }
    EXPECT_EQ(QDir(dir_.path()).entryList(QDir::Files | QDir::Hidden).size(), 3)
        << QDir(dir_.path()).entryList(QDir::Files | QDir::Hidden).join(' ').toStdString();
}

// The workbook's rows as (column A, column B), from the unpacked file.
QList<QStringList> workbookRows(const QString& path) {
    QProcess unzip;
    unzip.start(QStringLiteral("unzip"), {"-p", path, "xl/worksheets/sheet1.xml"});
    unzip.waitForFinished(60000);
    QXmlStreamReader xml(unzip.readAllStandardOutput());
    QList<QStringList> rows;
    int column = 0;
    while (!xml.atEnd()) {
        xml.readNext();
        if (!xml.isStartElement()) continue;
        if (xml.name() == QLatin1String("row")) rows.append(QStringList{"", ""});
        if (xml.name() == QLatin1String("c"))
            column = xml.attributes().value("r").startsWith(u'A') ? 0 : 1;
        if (xml.name() == QLatin1String("t")) rows.last()[column] = xml.readElementText();
    }
    EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
    return rows;
}

TEST_F(CommandLine, XlsxHoldsFirstAndLastNameInTwoCells) {
    const Outcome outcome =
        run({"generate", "-n", "300", "--seed", "5", "--format", "xlsx", "-o", "names.xlsx"});
    ASSERT_EQ(outcome.status, 0) << outcome.err.toStdString();
    const QStringList text = lines(run({"generate", "-n", "300", "--seed", "5"}).out);
    const QList<QStringList> rows = workbookRows(path("names.xlsx"));
    ASSERT_EQ(rows.size(), text.size());
    for (qsizetype i = 0; i < rows.size(); ++i) EXPECT_EQ(rows[i].join(' '), text[i]);
}

// Without the program's module a workbook and the windows are refused in one
// line, status 1, nothing half written; the text formats go on without it.
TEST_F(CommandLine, WithoutItsModuleSaysSoForWorkbooksAndWindowsAlone) {
    const QString module =
        path(QStringLiteral("bin/" QF_MODULE_FOLDER_FROM_PROGRAM "/quillfern-windows.so"));
    ASSERT_TRUE(QFile::remove(module));
    expectError(run({"generate", "-n", "5", "--format", "xlsx", "-o", "names.xlsx"}), 1,
                "Cannot load the program's module");
    EXPECT_FALSE(QFile::exists(path("names.xlsx")));
    EXPECT_EQ(lines(run({"generate", "-n", "5"}).out).size(), 5);
    const Outcome windows = shell("QT_QPA_PLATFORM=offscreen \"$Q\"");
    EXPECT_EQ(windows.status, 1);
    EXPECT_TRUE(windows.err.startsWith("Quillfern cannot open its windows: Cannot load"))
        << windows.err.toStdString();
}

TEST_F(CommandLine, ImportFollowsTheWindowsRulesAndCountsEachFile) {
    setUserList({}, {});
    const QByteArray longName(60, 'x');
    writeFile(path("a.txt"),
              "O'Neil\r\n\r\nann lee\nBob\rlast line"
              "\n" +
                  longName);
    writeFile(path("b.txt"), "\xEF\xBB\xBFZo\xC3\xAB\n");  // UTF-8 with a byte-order mark
    writeFile(path("c.txt"), "Ren\xE9\r\n");               // Windows-1252
    const Outcome outcome = run({"import", "last", "a.txt", "b.txt", "c.txt"});
    EXPECT_EQ(outcome.status, 0) << outcome.err.toStdString();
    EXPECT_EQ(lines(outcome.out),
              (QStringList{"a.txt: 5 names added", "b.txt: 1 name added", "c.txt: 1 name added"}));
    EXPECT_EQ(lines(run({"names", "last", "--list", "user"}).out),
              (QStringList{"Ann Lee", "Bob", "Last Line", "Oneil", "René",
                           QStringLiteral("X") + QString(49, u'x'), "Zoë"}));
    EXPECT_TRUE(run({"names", "first", "--list", "user"}).out.isEmpty());
}

TEST_F(CommandLine, ImportGoesOnPastAFileItCannotRead) {
    setUserList({}, {});
    writeFile(path("good.txt"), "Kim\n");
    QDir(dir_.path()).mkdir("folder.txt");
    ASSERT_EQ(::mkfifo(QFile::encodeName(path("pipe.txt")).constData(), 0600), 0);
    QFile huge(path("huge.txt"));  // holes: takes no room on the disk
    ASSERT_TRUE(huge.open(QIODevice::WriteOnly) && huge.resize(names::kNameFileLimit + 1));
    const Outcome outcome =
        run({"import", "first", "missing.txt", "folder.txt", "pipe.txt", "huge.txt", "good.txt"});
    EXPECT_EQ(outcome.status, 1);
    EXPECT_EQ(lines(outcome.out), QStringList{"good.txt: 1 name added"});
    EXPECT_EQ(
        lines(outcome.err),
        (QStringList{"quillfern: missing.txt: File not found",
                     "quillfern: folder.txt: Path is a folder, not a file: folder.txt",
                     "quillfern: pipe.txt is not a regular file",
                     "quillfern: huge.txt is larger than 256 MB, the limit for a name file"}));
    EXPECT_EQ(lines(run({"names", "first", "--list", "user"}).out), QStringList{"Kim"});
}

TEST_F(CommandLine, EmptyListIsRefused) {
    setUserList({}, {"Lee"});
    expectError(run({"generate", "--list", "user"}), 1, "the User List holds no first names");
    EXPECT_EQ(run({"generate", "--list", "user", "--part", "last", "-n", "1"}).out, "Lee\n");
}

// A database held by another program, one that is not there, one that is no database.
TEST_F(CommandLine, NameDatabaseFaults) {
    sqlite3* holder = nullptr;
    ASSERT_EQ(sqlite3_open(QFile::encodeName(database()).constData(), &holder), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(holder,
                           "pragma locking_mode=exclusive; begin exclusive; "
                           "insert into user_lastname (lastname) values ('Held');",
                           nullptr, nullptr, nullptr),
              SQLITE_OK);
    expectError(run({"names", "last"}), 1, "names.mdb: database is locked");
    writeFile(path("a.txt"), "Kim\n");
    expectError(run({"import", "first", "a.txt"}), 1, "database is locked");
    sqlite3_close(holder);

    writeFile(database(), QByteArray(4096, 'x'));
    expectError(run({"generate"}), 1, "file is not a database");
    QFile::remove(database());
    expectError(run({"generate"}), 1, "names.mdb: unable to open database file");
}

}  // namespace
