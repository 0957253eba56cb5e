#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QStandardPaths>
#include <QXmlStreamReader>

#include <map>
#include <utility>
#include <vector>

#include "guarded/failure_report.h"
#include "platform/workbook_folder.h"
#include "results/saving.h"
#include "support/form2_fixture.h"
#include "support/widget_printers.h"

namespace {

const char kTag[] = "Tolvarine2021/08/31.Form2.PushButton2_Click";

QByteArray readFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

QStringList numberedNames(int count) {
    QStringList names;
    for (int i = 1; i <= count; ++i) names << QString("Name%1 Last").arg(i);
    return names;
}

class SaveTextTest : public testsupport::Form2Fixture {
protected:
    void SetUp() override {
        open();
        form2->Text2->setText(output.path());
    }
    QString resultsPath() const { return output.filePath("results.txt"); }

    QTemporaryDir output;
};

TEST_F(SaveTextTest, EveryNameOnALineEndedByCrLf) {
    fill({"Anna Berg", "Tom Hale", "Eve Moss"});
    dialogs.expectMessageBox();
    form2->PushButton2->click();
    dialogs.verifyAllShown();
    EXPECT_EQ(readFile(resultsPath()), QByteArray("Anna Berg\r\nTom Hale\r\nEve Moss\r\n"));
    ASSERT_EQ(dialogs.shown().size(), 1u);
    EXPECT_EQ(dialogs.shown()[0].text,
              "Done.\r\r" + output.path() + "/results.txt\r\n\r\nwas created.");
    EXPECT_EQ(dialogs.shown()[0].style, platform::MessageStyle::Ok);
    EXPECT_EQ(dialogs.shown()[0].title, "Quillfern");
}

TEST_F(SaveTextTest, NamesAreWrittenAsUtf8) {
    fill({QString::fromUtf8("Zoë Øster"), " ", ""});
    dialogs.expectMessageBox();
    form2->PushButton2_Click();
    EXPECT_EQ(readFile(resultsPath()), QByteArray("Zo\xC3\xAB \xC3\x98ster\r\n \r\n\r\n"));
}

TEST_F(SaveTextTest, AnEmptyListGivesAnEmptyFile) {
    dialogs.expectMessageBox();
    form2->PushButton2_Click();
    dialogs.verifyAllShown();
    EXPECT_EQ(readFile(resultsPath()), QByteArray());
    EXPECT_TRUE(dialogs.messages().value(0).startsWith("Done."));
}

TEST_F(SaveTextTest, EmptyRowsGiveEmptyLines) {
    // "First Name Only" from an empty list makes rows of empty text.
    fill({"", ""});
    dialogs.expectMessageBox();
    form2->PushButton2_Click();
    EXPECT_EQ(readFile(resultsPath()), QByteArray("\r\n\r\n"));
}

TEST_F(SaveTextTest, ASecondSaveReplacesTheFirst) {
    fill({"Anna Berg", "Tom Hale", "Eve Moss"});
    dialogs.expectMessageBox(2);
    form2->PushButton2_Click();
    fill({"Lena Ross"});
    form2->PushButton2_Click();
    EXPECT_EQ(readFile(resultsPath()), QByteArray("Lena Ross\r\n"));
    EXPECT_EQ(QDir(output.path()).entryList(QDir::Files), QStringList{"results.txt"});
}

TEST_F(SaveTextTest, AFolderEndingInASeparatorGivesNoDoubledOne) {
    form2->Text2->setText(output.path() + "/");
    fill({"Anna Berg"});
    dialogs.expectMessageBox();
    form2->PushButton2_Click();
    EXPECT_EQ(dialogs.messages().value(0),
              "Done.\r\r" + output.path() + "/results.txt\r\n\r\nwas created.");
    EXPECT_EQ(readFile(resultsPath()), QByteArray("Anna Berg\r\n"));
}

TEST_F(SaveTextTest, AFolderThatIsNoFolderIsRefused) {
    QFile file(output.filePath("plain.txt"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    fill({"Anna Berg"});
    for (const QString& folder : {output.filePath("missing"), QString(), file.fileName()}) {
        form2->Text2->setText(folder);
        for (QRadioButton* output : {form2->Option4, form2->Option5, form2->Option6}) {
            output->setChecked(true);
            dialogs.expectMessageBox();
            form2->PushButton2_Click();
            dialogs.verifyAllShown();
            EXPECT_EQ(dialogs.shown().back().text,
                      "Folder does not exist. Please select another folder.");
            EXPECT_EQ(dialogs.shown().back().style, platform::MessageStyle::Ok);
            EXPECT_EQ(dialogs.shown().back().title, "Quillfern");
        }
    }
    EXPECT_FALSE(QFile::exists(resultsPath()));
    EXPECT_EQ(recording.applicationsCreated, 0);
}

TEST_F(SaveTextTest, AFileThatCannotBeWrittenIsReportedNotAnnounced) {
    // results.txt is taken by a folder, which must stay as it was.
    ASSERT_TRUE(QDir(output.path()).mkpath("results.txt/inside"));
    fill({"Anna Berg"});
    dialogs.expectMessageBox();
    form2->PushButton2_Click();
    dialogs.verifyAllShown();
    ASSERT_EQ(dialogs.messages().size(), 1);
    EXPECT_TRUE(dialogs.messages()[0].contains(QString(kTag) + " at line 122"))
        << dialogs.messages()[0].toStdString();
    EXPECT_FALSE(dialogs.messages()[0].contains("Done."));
    EXPECT_TRUE(QDir(output.filePath("results.txt/inside")).exists());
}

TEST_F(SaveTextTest, ALinkToAFileSavesIntoThatFileAndStaysALink) {
    QTemporaryDir elsewhere;
    const QString target = elsewhere.filePath("names.txt");
    results::WriteTextFile("old\r\n", target);
    ASSERT_TRUE(QFile::link(target, resultsPath()));
    fill({"Anna Berg"});
    dialogs.expectMessageBox();
    form2->PushButton2_Click();
    EXPECT_TRUE(dialogs.messages().value(0).startsWith("Done."));
    EXPECT_EQ(QFile::symLinkTarget(resultsPath()), target);
    EXPECT_EQ(readFile(target), QByteArray("Anna Berg\r\n"));
    EXPECT_EQ(QDir(elsewhere.path()).entryList(QDir::Files), QStringList{"names.txt"});
}

TEST(WriteTextFile, AFailedWriteLeavesTheOldFileAsItWas) {
    QTemporaryDir folder;
    const QString path = folder.filePath("results.txt");
    results::WriteTextFile("old\r\n", path);
    // The new text is written beside the old file first; a folder in the way of
    // that target makes the write fail before anything is replaced.
    const QString blocked = folder.filePath("blocked");
    ASSERT_TRUE(QDir(folder.path()).mkpath("blocked/results.txt"));
    EXPECT_THROW(results::WriteTextFile("new\r\n", blocked + "/results.txt"), platform::Failure);
    EXPECT_EQ(readFile(path), QByteArray("old\r\n"));
    EXPECT_THROW(results::WriteTextFile("new\r\n", folder.filePath("missing/results.txt")),
                 platform::Failure);
    EXPECT_EQ(readFile(path), QByteArray("old\r\n"));
}

class SaveSpreadsheetTest : public testsupport::Form2Fixture {
protected:
    void SetUp() override {
        open();
        form2->Text2->setText(output.path());
    }
    QTemporaryDir output;
};

TEST_F(SaveSpreadsheetTest, TwoCellsSplitEachRowAtItsBlanks) {
    fill({"Anna Berg", "Tom", "Eve ", " Moss", "Van der Berg", "Lena  Ross", ""});
    form2->Option5->setChecked(true);
    form2->PushButton2_Click();  // no report: rows without a blank fill column A only
    EXPECT_EQ(recording.applicationsCreated, 1);
    EXPECT_EQ(recording.calls, (QStringList{"addWorkbook", "fitColumns", "makeVisible"}));
    const std::map<std::pair<int, int>, QString> expected{
        {{1, 1}, "Anna"}, {{1, 2}, "Berg"}, {{2, 1}, "Tom"},  {{3, 1}, "Eve"},
        {{3, 2}, ""},     {{4, 1}, ""},     {{4, 2}, "Moss"}, {{5, 1}, "Van"},
        {{5, 2}, "der"},  {{6, 1}, "Lena"}, {{6, 2}, ""},     {{7, 1}, ""}};
    EXPECT_EQ(recording.cells, expected);
    EXPECT_FALSE(QFile::exists(output.filePath("results.txt")));
}

TEST_F(SaveSpreadsheetTest, TwoCellsTakeAPersonsGivenNameFirstWhateverTheOrderShown) {
    results::ResultList& list = form2->results();
    list.addUtf8Row({"Anna Berg"});  // a row before any with parts keeps the split at blanks
    list.addNameRow("Yamada", "Hanako", true, true);
    list.addNameRow("\xE7\x8E\x8B", "\xE4\xBC\x9F", false, true);  // written together
    list.addNameRow("Pieter", "Jansen van Rensburg", true, false);
    list.addUtf8Row({"de la Cruz"});  // a single part keeps the split at blanks
    list.publish();
    form2->Option5->setChecked(true);
    form2->PushButton2_Click();
    const std::map<std::pair<int, int>, QString> expected{
        {{1, 1}, "Anna"},   {{1, 2}, "Berg"},   {{2, 1}, "Hanako"}, {{2, 2}, "Yamada"},
        {{3, 1}, "\u4F1F"}, {{3, 2}, "\u738B"}, {{4, 1}, "Pieter"}, {{4, 2}, "Jansen van Rensburg"},
        {{5, 1}, "de"},     {{5, 2}, "la"}};
    EXPECT_EQ(recording.cells, expected);
    EXPECT_TRUE(dialogs.messages().isEmpty());
}

TEST_F(SaveSpreadsheetTest, OneCellHoldsTheWholeName) {
    const QStringList names = numberedNames(100);
    fill(names);
    form2->Option6->setChecked(true);
    form2->PushButton2_Click();
    EXPECT_EQ(recording.calls, (QStringList{"addWorkbook", "fitColumns", "makeVisible"}));
    ASSERT_EQ(recording.cells.size(), 100u);
    for (int i = 1; i <= 100; ++i) EXPECT_EQ(recording.cell(i, 1), names[i - 1]);
}

TEST_F(SaveSpreadsheetTest, WithoutASpreadsheetProgramOneReportAndTheSaveEnds) {
    fill({"Anna Berg", "Tom Hale"});
    recording.missing = true;
    const struct {
        QRadioButton* option;
        int line;
    } outputs[] = {{form2->Option5, 128}, {form2->Option6, 148}};
    for (const auto& output : outputs) {
        output.option->setChecked(true);
        dialogs.expectMessageBox();
        form2->PushButton2_Click();
        dialogs.verifyAllShown();
        EXPECT_EQ(dialogs.messages().back(),
                  guarded::failureMessage("No spreadsheet program was found", kTag, output.line));
    }
    EXPECT_EQ(dialogs.messages().size(), 2);
    EXPECT_TRUE(recording.cells.empty());
}

// The workbook as the desktop spreadsheet builds it, read back from the file.
class WorkbookTest : public testsupport::Form2Fixture {
protected:
    void SetUp() override {
        if (QStandardPaths::findExecutable("unzip").isEmpty()) GTEST_SKIP() << "unzip is needed";
        spreadsheet = &desktop;
        open();
        form2->Text2->setText(output.path());
    }
    void TearDown() override {
        for (const QStringList& launch : launches) QFile::remove(launch.last());
    }

    // The cells of the first sheet by reference ("A1"), and the column widths.
    std::map<QString, QString> cells(const QString& workbook) {
        QProcess unzip;
        unzip.start("unzip", {"-p", workbook, "xl/worksheets/sheet1.xml"});
        EXPECT_TRUE(unzip.waitForFinished());
        const QByteArray sheet = unzip.readAllStandardOutput();
        QXmlStreamReader xml(sheet);
        std::map<QString, QString> found;
        QString reference;
        widths.clear();
        while (!xml.atEnd()) {
            if (xml.readNext() != QXmlStreamReader::StartElement) continue;
            if (xml.name() == u"c") reference = xml.attributes().value("r").toString();
            if (xml.name() == u"t") found[reference] = xml.readElementText();
            if (xml.name() == u"col")
                widths[xml.attributes().value("min").toInt()] =
                    xml.attributes().value("width").toDouble();
        }
        EXPECT_FALSE(xml.hasError())
            << xml.errorString().toStdString() << unzip.readAllStandardError().toStdString();
        return found;
    }

    QTemporaryDir output;
    std::vector<QStringList> launches;  // program, then its arguments
    platform::DesktopSpreadsheet desktop{"/usr/bin/spreadsheet",
                                         [this](const QString& program, const QStringList& args) {
                                             launches.push_back(QStringList{program} + args);
                                             return true;
                                         }};
    std::map<int, double> widths;
};

TEST_F(WorkbookTest, TwoCellsOpenAsANewDocumentWithFittedColumns) {
    fill({"Anna Berg", "Christopher Montgomery", "Tom", QString::fromUtf8("Zoë Øster")});
    form2->Option5->setChecked(true);
    form2->PushButton2_Click();
    ASSERT_EQ(launches.size(), 1u);
    const QStringList& launch = launches[0];
    ASSERT_EQ(launch.size(), 4);
    EXPECT_EQ(launch.mid(0, 3), (QStringList{"/usr/bin/spreadsheet", "--calc", "-n"}));
    EXPECT_TRUE(launch[3].endsWith(".xlsx"));
    const std::map<QString, QString> expected{{"A1", "Anna"},
                                              {"B1", "Berg"},
                                              {"A2", "Christopher"},
                                              {"B2", "Montgomery"},
                                              {"A3", "Tom"},
                                              {"A4", QString::fromUtf8("Zoë")},
                                              {"B4", QString::fromUtf8("Øster")}};
    EXPECT_EQ(cells(launch[3]), expected);
    ASSERT_EQ(widths.size(), 2u);
    EXPECT_GE(widths[1], 11.0);  // "Christopher"
    EXPECT_LT(widths[1], 16.0);
    EXPECT_GE(widths[2], 10.0);  // "Montgomery"
    EXPECT_LT(widths[2], 15.0);
}

TEST_F(WorkbookTest, OneCellFillsColumnAOnly) {
    const QStringList names = numberedNames(100);
    fill(names);
    form2->Option6->setChecked(true);
    form2->PushButton2_Click();
    ASSERT_EQ(launches.size(), 1u);
    const std::map<QString, QString> found = cells(launches[0].last());
    ASSERT_EQ(found.size(), 100u);
    for (int i = 1; i <= 100; ++i) EXPECT_EQ(found.at(QString("A%1").arg(i)), names[i - 1]);
    ASSERT_EQ(widths.size(), 1u);
    EXPECT_GE(widths[1], 12.0);  // "Name100 Last"
}

TEST_F(WorkbookTest, WorkbooksGoToAFolderOfTheProgramsOwn) {
    fill({"Anna Berg"});
    form2->Option6->setChecked(true);
    form2->PushButton2_Click();
    ASSERT_EQ(launches.size(), 1u);
    const QString folder = QFileInfo(launches[0].last()).absolutePath();
    EXPECT_EQ(folder, platform::DesktopSpreadsheet::workbookFolder());
    EXPECT_TRUE(folder.startsWith(QDir::tempPath() + "/"));
    struct stat info {};
    ASSERT_EQ(::stat(QFile::encodeName(folder).constData(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0700u);
}

TEST_F(WorkbookTest, ColumnWidthsCountLettersNotBytes) {
    fill({QString::fromUtf8("ÅÅÅÅÅÅÅÅÅÅ")});  // ten letters, twenty bytes
    form2->Option6->setChecked(true);
    form2->PushButton2_Click();
    ASSERT_EQ(launches.size(), 1u);
    cells(launches[0].last());
    ASSERT_EQ(widths.size(), 1u);
    EXPECT_GE(widths[1], 10.0);
    EXPECT_LT(widths[1], 15.0);
}

}  // namespace
