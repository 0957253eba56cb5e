// Proper case and name files.
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "names/name_file.h"
#include "names/proper_case.h"
#include "platform/failure.h"

namespace {

TEST(ProperCase, CapitalisesEachBlankSeparatedWordOnly) {
    const struct {
        QString stored;
        QString shown;
    } cases[] = {
        {"anna", "Anna"},
        {"ANNA LENA", "Anna Lena"},
        {"anna-lena", "Anna-lena"},
        {"o'neil", "O'neil"},
        {"mcDONALD", "Mcdonald"},
        {"élise", "Élise"},
        {"ØSTER", "Øster"},
        {"zoË", "Zoë"},
        {"  anna\tlena\nmaria", "  Anna\tLena\nMaria"},
        {"ǆemal", "ǅemal"},  // a digraph takes its title-case form
        {QString::fromUtf8("\xF0\x90\x90\xA8\xF0\x90\x90\x80"),  // beyond the basic plane
         QString::fromUtf8("\xF0\x90\x90\x80\xF0\x90\x90\xA8")},
        {"", ""},
        {"   ", "   "},
    };
    for (const auto& c : cases)
        EXPECT_EQ(names::ProperCase(c.stored), c.shown) << c.stored.toStdString();
}

TEST(NameFile, SplitsAtEveryLineEndAndKeepsWhatANameIs) {
    const struct {
        QByteArray bytes;
        QStringList names;
    } cases[] = {
        {"Ann\r\n\r\nBob", {"Ann", "Bob"}},
        {"Ann\nBob\n", {"Ann", "Bob"}},
        {"Ann\rBob\r", {"Ann", "Bob"}},
        {"Ann\r\nBob\nCy\rDi\n\nEd\r\n", {"Ann", "Bob", "Cy", "Di", "Ed"}},
        {"Ann\n\rBob", {"Ann", "Bob"}},
        {"O'Neil\n'\nD''Arcy", {"ONeil", "DArcy"}},
        {"   \r\n\tAnn \r\n", {"   ", "\tAnn "}},
        {"\xEF\xBB\xBFZo\xC3\xAB\r\nJos\xC3\xA9", {"Zoë", "José"}},
        {"Jos\xE9\r\nZo\xEB\r\nFran\xE7ois", {"José", "Zoë", "François"}},
        {"Ann\r\nJos\xE9", {"Ann", "José"}},  // ends in what starts a UTF-8 sequence
        {"\x80uro\r\n\x8Aimon\r\n\x9Fves", {"€uro", "Šimon", "Ÿves"}},
        {"", {}},
        {"\r\n\n\r", {}},
        {QByteArray("\xFF\xFE"
                    "A\0n\0n\0\n\0B\0o\0b\0",
                    16),
         {"Ann", "Bob"}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(names::splitNameFile(c.bytes), c.names) << c.bytes.toStdString();
}

TEST(NameFile, ReportsWhereEachNameStoodInItsLine) {
    QList<QPair<QString, names::NamePlace>> seen;
    names::forEachName("a\nb\nc\r\nd\r\ne\n", [&](const QString& name, names::NamePlace place) {
        seen.append({name, place});
    });
    using P = names::NamePlace;
    const QList<QPair<QString, P>> expected{{"a", P::BeforeLineFeed},
                                            {"b", P::BeforeLineFeed},
                                            {"c", P::AfterLastLineFeed},
                                            {"d", P::WholeLine},
                                            {"e", P::BeforeLineFeed}};
    EXPECT_EQ(seen, expected);
}

TEST(NameFile, DecodesValidUtf8AsUtf8AndAnythingElseAsWindows1252) {
    // An overlong form and a lone continuation byte are not UTF-8.
    EXPECT_EQ(names::decodeNameFile("\xC0\xAF"), QString::fromUtf8("\xC3\x80\xC2\xAF"));
    EXPECT_EQ(names::decodeNameFile("a\x81"), QString("a") + QChar(0x81));
    EXPECT_EQ(names::decodeNameFile("\xC3\xA9"), QString("é"));
    EXPECT_EQ(names::decodeWindows1252("\x93\x94\x96\xA0\xFF"),
              QString::fromUtf8("\xE2\x80\x9C\xE2\x80\x9D\xE2\x80\x93\xC2\xA0\xC3\xBF"));
}

TEST(NameFile, ReadingAFolderOrAMissingFileFails) {
    QTemporaryDir folder;
    EXPECT_THROW(names::readNameFile(folder.path()), platform::Failure);
    EXPECT_THROW(names::readNameFile(folder.filePath("absent.txt")), platform::Failure);
    QFile file(folder.filePath("names.txt"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("Ann\r\n");
    file.close();
    EXPECT_EQ(names::readNameFile(file.fileName()), QByteArray("Ann\r\n"));
}

}  // namespace
