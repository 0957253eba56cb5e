// File and folder tests and path normalising.
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QString>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "platform/files.h"
#include "support/qt_printers.h"

namespace {

TEST(FileExists, TrueForFilesAndFoldersFalseOtherwise) {
    QTemporaryDir dir;
    const QString file = dir.filePath("names.txt");
    QFile created(file);
    ASSERT_TRUE(created.open(QIODevice::WriteOnly));
    created.close();
    EXPECT_TRUE(platform::FileExists(file));
    EXPECT_TRUE(platform::FileExists(dir.path()));
    EXPECT_FALSE(platform::FileExists(dir.filePath("missing.txt")));
    EXPECT_FALSE(platform::FileExists(QString()));
    EXPECT_FALSE(platform::FileExists(dir.filePath("missing/deeper/names.txt")));

    EXPECT_TRUE(platform::FolderExists(dir.path()));
    EXPECT_TRUE(platform::FolderExists(dir.path() + "/"));
    EXPECT_FALSE(platform::FolderExists(file));
    EXPECT_FALSE(platform::FolderExists(QString()));
    EXPECT_FALSE(platform::FolderExists(dir.filePath("missing")));
}

TEST(NormalizePath, CollapsesDoubledSeparators) {
    const struct {
        QString path;
        QString normal;
    } cases[] = {
        {"", ""},
        {"/home/ann/names.txt", "/home/ann/names.txt"},
        {"//home/ann/names.txt", "/home/ann/names.txt"},
        {"////srv//share/a.txt", "/srv/share/a.txt"},
        {"/", "/"},
        {"///", "/"},
        {"/home///ann", "/home//ann"},
        {"/home////ann", "/home//ann"},
        {"a//b", "a/b"},
        {"a///b", "a//b"},
        {"relative/names.txt", "relative/names.txt"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(platform::NormalizePath(c.path), c.normal) << c.path.toStdString();
}

// A file that a library opens and writes by name, built through the writer:
// it takes the old file's place at commit, through a link too, and is
// dropped when the writer goes before that.
TEST(WholeFileWriter, AFileBuiltByNameReplacesTheOldOneOnlyAtCommit) {
    QTemporaryDir dir;
    const QString path = dir.filePath("out.bin");
    const auto writeByName = [](const QString& name, const QByteArray& bytes) {
        QFile file(name);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << name.toStdString();
        ASSERT_EQ(file.write(bytes), bytes.size());
    };
    const auto contents = [&] {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(unreadable)");
    };
    const auto files = [&] {
        return QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System);
    };
    writeByName(path, "old");
    {
        platform::WholeFileWriter writer(path);
        writeByName(writer.buildingPath(), "dropped");
    }
    EXPECT_EQ(contents(), "old");
    EXPECT_EQ(files(), QStringList{"out.bin"});

    ASSERT_TRUE(QFile::link(path, dir.filePath("link.bin")));
    platform::WholeFileWriter writer(dir.filePath("link.bin"));
    writeByName(writer.buildingPath(), "new");
    EXPECT_EQ(contents(), "old");
    writer.commit();
    EXPECT_EQ(contents(), "new");
    EXPECT_TRUE(QFileInfo(dir.filePath("link.bin")).isSymLink());
    EXPECT_EQ(files(), QStringList({"link.bin", "out.bin"}));
}

}  // namespace
