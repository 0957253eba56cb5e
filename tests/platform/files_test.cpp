// File and folder tests and path normalising.
#include <QFile>
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

}  // namespace
