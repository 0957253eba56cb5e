#include <cstdint>
#include <vector>

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "platform/workbook.h"

namespace {

struct ZipEntry {
    QString name;
    int method = 0;
    int flags = 0;
};

unsigned little(const QByteArray& bytes, qsizetype at, int size) {
    unsigned value = 0;
    for (int i = size - 1; i >= 0; --i)
        value = (value << 8) | static_cast<std::uint8_t>(bytes[at + i]);
    return value;
}

// The entries of a zip file as its central directory lists them.
std::vector<ZipEntry> centralDirectory(const QByteArray& zip) {
    std::vector<ZipEntry> entries;
    const qsizetype end = zip.lastIndexOf(QByteArray("PK\x05\x06", 4));
    if (end < 0 || end + 22 > zip.size()) return entries;
    const unsigned count = little(zip, end + 10, 2);
    qsizetype at = little(zip, end + 16, 4);
    for (unsigned i = 0; i < count && at + 46 <= zip.size(); ++i) {
        if (zip.mid(at, 4) != QByteArray("PK\x01\x02", 4)) break;
        const unsigned nameSize = little(zip, at + 28, 2);
        entries.push_back({QString::fromUtf8(zip.mid(at + 46, nameSize)),
                           static_cast<int>(little(zip, at + 10, 2)),
                           static_cast<int>(little(zip, at + 8, 2))});
        at += 46 + nameSize + little(zip, at + 30, 2) + little(zip, at + 32, 2);
    }
    return entries;
}

// Workbooks are deflated at the fastest level by replacing the zip library's
// function that opens an entry. Should that replacement stop taking effect (a
// changed library, a changed link), the entries would carry the zip flags of the
// default level: deflate with the option bits 1 and 2 both set means level 1.
TEST(Workbook, EveryPartIsDeflatedAtTheFastestLevel) {
    QTemporaryDir dir;
    const QString written = dir.filePath("names.xlsx");
    platform::XlsxWorkbook workbook(written);
    for (int row = 1; row <= 200; ++row) workbook.setCell(row, 1, "Anna Berg");
    workbook.fitColumns();
    workbook.close();
    QFile file(written);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray zip = file.readAll();

    const std::vector<ZipEntry> entries = centralDirectory(zip);
    ASSERT_GE(entries.size(), 5u) << "not a workbook's zip";
    constexpr int kDeflated = 8;
    constexpr int kFastestOption = 0x6;
    for (const ZipEntry& entry : entries) {
        EXPECT_EQ(entry.method, kDeflated) << entry.name.toStdString();
        EXPECT_EQ(entry.flags & kFastestOption, kFastestOption) << entry.name.toStdString();
    }
}

}  // namespace
