// Name files that are no list of names: binary, very long, one huge line,
// invalid UTF-8, a folder, or gone by the time the import starts. Each gives
// the right box or the right names, and nothing crashes.
#include <QDir>
#include <QFile>
#include <QPushButton>

#include <gtest/gtest.h>

#include "file_faults.h"
#include "guarded/failure_report.h"
#include "platform/dialogs.h"
#include "platform/pointer.h"
#include "support/form1_fixture.h"

namespace {

class BadNameFile : public testsupport::Form1Fixture {
protected:
    BadNameFile() : Form1Fixture({.userFirst = {"Ulla"}, .userLast = {"Vance"}}) {}
    void SetUp() override {
        chooseUserList();
        start();
    }
    // "Load Last Names From File" with these files chosen, expecting as many
    // message boxes as given.
    void importLastNames(const QStringList& paths, int boxes = 0,
                         std::function<void()> meanwhile = {}) {
        dialogs.answerOpenFiles(paths, std::move(meanwhile));
        dialogs.expectMessageBox(boxes);
        form->PushButton7->click();
        EXPECT_EQ(form->MousePointer(), platform::kPointerNormal);
    }
    QStringList stored() const { return db->names("user_lastname"); }
};

// The characters from one code to another, one of them left out.
QString codes(int from, int to, int skip = -1) {
    QString text;
    for (int c = from; c <= to; ++c)
        if (c != skip) text += QChar(c);
    return text;
}

TEST_F(BadNameFile, BinaryBytesSplitAtLineEndsAsAnyText) {
    QByteArray everyByte;
    for (int c = 0; c < 256; ++c) everyByte += static_cast<char>(c);
    importLastNames({writeFile("binary.txt", everyByte)});
    // Not UTF-8, so each byte is one character: the line feed (10) and the
    // carriage return (13) end names, the apostrophe goes, the rest is cut to 50.
    const QString third = codes(14, 255, '\'').left(50);
    EXPECT_EQ(lastShown(), (QStringList{codes(0, 9), codes(11, 12), third, "Vance"}));
    EXPECT_EQ(third, codes(14, 38) + codes(40, 64));
    EXPECT_TRUE(dialogs.messages().isEmpty());
}

TEST_F(BadNameFile, RandomBytesGiveOnlyNamesThatCouldBeStored) {
    importLastNames({writeFile("random.bin", faults::RandomBytes(256 * 1024, 7))});
    EXPECT_TRUE(dialogs.messages().isEmpty());
    const QStringList shown = lastShown();
    EXPECT_GT(shown.size(), 1000);
    EXPECT_EQ(stored().size(), shown.size());
    for (const QString& name : shown) {
        ASSERT_FALSE(name.isEmpty());
        ASSERT_LE(name.size(), 50);
        ASSERT_FALSE(name.contains('\r') || name.contains('\n') || name.contains('\''));
    }
}

TEST_F(BadNameFile, AHundredMegabytesOfLongLines) {
    // 102400 lines of 1024 bytes each, line end included, each line its own.
    constexpr int kLines = 100 * 1024;
    const QByteArray filler = QByteArray("abcdefghijklmnopqrstuvwxyz").repeated(40).left(1014);
    QFile file(files.filePath("big.txt"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    for (int i = 0; i < kLines; ++i)
        file.write(QByteArray::number(i).rightJustified(8, '0') + filler + "\r\n");
    file.close();
    ASSERT_EQ(file.size(), 100 * 1024 * 1024);

    importLastNames({file.fileName()});
    EXPECT_TRUE(dialogs.messages().isEmpty());
    const QStringList names = stored();
    ASSERT_EQ(names.size(), kLines + 1);
    EXPECT_EQ(names[1], "00000000" + filler.left(42));
    EXPECT_EQ(names.last(), "00102399" + filler.left(42));
    for (const QString& name : names.mid(1)) ASSERT_EQ(name.size(), 50);
    EXPECT_EQ(lastShown().size(), kLines + 1);
}

TEST_F(BadNameFile, OneLineOfAMegabyteIsOneNameCutTo50Characters) {
    const QString word = QString::fromUtf8("Ærøskøbing-Łódź ");
    const QByteArray line = word.toUtf8().repeated(1024 * 1024 / word.toUtf8().size() + 1);
    ASSERT_GT(line.size(), 1024 * 1024);
    importLastNames({writeFile("line.txt", line)});
    EXPECT_EQ(stored(), (QStringList{"Vance", word.repeated(4).left(50)}));
    EXPECT_TRUE(dialogs.messages().isEmpty());
}

TEST_F(BadNameFile, InvalidUtf8ReadsTheWholeFileAsWindows1252) {
    importLastNames({writeFile("mixed.txt",
                               "Zo\xC3\xAB\r\n"     // UTF-8, but the file as a whole is not
                               "Jos\xE9\r\n"        // a lone Windows-1252 letter
                               "\xC0\xAFx\r\n"      // an overlong sequence
                               "\xED\xA0\x80y\r\n"  // a surrogate written as UTF-8
                               "end\xE2\x82")});    // a sequence cut off by the end
    EXPECT_EQ(stored(), (QStringList{"Vance", QString::fromUtf8("ZoÃ«"), QString::fromUtf8("José"),
                                     QString::fromUtf8("À¯x"), QString::fromUtf8("í\u00A0€y"),
                                     QString::fromUtf8("endâ‚")}));
    EXPECT_TRUE(dialogs.messages().isEmpty());
}

TEST_F(BadNameFile, AFolderIsReportedWhereTheFileIsRead) {
    const QString folder = files.filePath("names.txt");
    ASSERT_TRUE(QDir().mkdir(folder));
    importLastNames({folder}, 1);
    EXPECT_EQ(dialogs.messages(),
              QStringList{guarded::FailureMessage("Path is a folder, not a file: " + folder,
                                                  "Tolvarine2021/08/31.Main.FileToListview", 108)});
    EXPECT_EQ(stored(), QStringList{"Vance"});
}

TEST_F(BadNameFile, AFileGoneAfterTheDialogIsNotFoundAndTheOthersStillImport) {
    const QString gone = writeFile("gone.txt", "Gone\r\n");
    const QString kept = writeFile("kept.txt", "Kept\r\n");
    importLastNames({gone, kept}, 1, [&] { QFile::remove(gone); });
    ASSERT_EQ(dialogs.messages(), QStringList{"File not found"});
    EXPECT_EQ(dialogs.shown()[1].style, platform::kStyleOk);
    EXPECT_EQ(dialogs.shown()[1].title, "Quillfern");
    EXPECT_EQ(stored(), (QStringList{"Vance", "Kept"}));
    EXPECT_EQ(lastShown(), (QStringList{"Kept", "Vance"}));
}

}  // namespace
