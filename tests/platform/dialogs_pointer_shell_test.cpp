// The window pieces of the platform: message-box text, the desktop shell and
// pointer pictures.
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "platform/dialogs.h"
#include "platform/failure.h"
#include "platform/pointer.h"
#include "platform/shell.h"

namespace {

TEST(MessageBoxText, CrLfAndCrLfEachBecomeOneLineBreak) {
    EXPECT_EQ(platform::withUnifiedLineBreaks("a\r\nb\rc\nd"), "a\nb\nc\nd");
    EXPECT_EQ(platform::withUnifiedLineBreaks("a\r\rb"), "a\n\nb");
    EXPECT_EQ(platform::withUnifiedLineBreaks("a\r\n\r\nb"), "a\n\nb");
    EXPECT_EQ(platform::withUnifiedLineBreaks("\n\r"), "\n\n");
}

// An environment variable set for one test.
class Environment {
public:
    Environment(const char* name, const QString& value) : name_(name), saved_(qgetenv(name)) {
        qputenv(name, QFile::encodeName(value));
    }
    ~Environment() { qputenv(name_, saved_); }

private:
    const char* name_;
    QByteArray saved_;
};

TEST(DesktopShell, TheHomeFolderStandsInForAMissingDesktopFolder) {
    const struct {
        const char* userDirs;  // the user's named folders, "" for none
        const char* made;      // the folder made in the home, "" for none
        const char* expected;  // relative to the home
    } cases[] = {
        {"", "", ""},
        {"", "Desktop", "Desktop"},
        {"XDG_DESKTOP_DIR=\"$HOME/Schreibtisch\"\n", "Schreibtisch", "Schreibtisch"},
    };
    for (const auto& c : cases) {
        QTemporaryDir home;
        const Environment homeVariable("HOME", home.path());
        const Environment configVariable("XDG_CONFIG_HOME", home.filePath(".config"));
        ASSERT_TRUE(QDir(home.path()).mkpath(".config"));
        if (*c.userDirs) {
            QFile userDirs(home.filePath(".config/user-dirs.dirs"));
            ASSERT_TRUE(userDirs.open(QIODevice::WriteOnly));
            userDirs.write(c.userDirs);
        }
        if (*c.made) {
            ASSERT_TRUE(QDir(home.path()).mkdir(c.made));
        }
        EXPECT_EQ(platform::DesktopShell().desktopFolder(),
                  QDir::cleanPath(home.filePath(c.expected)))
            << c.userDirs << c.made;
    }
}

TEST(PointerFile, ABrokenPictureIsAFailureAndAMissingCustomPictureShowsTheArrow) {
    QTemporaryDir dir;
    const QString path = dir.filePath("HAND-M.CUR");
    QFile broken(path);
    ASSERT_TRUE(broken.open(QIODevice::WriteOnly));
    broken.write("not a cursor");
    broken.close();
    EXPECT_THROW(platform::loadCursorFile(path), platform::Failure);
    EXPECT_THROW(platform::loadCursorFile(dir.filePath("missing.cur")), platform::Failure);
    EXPECT_EQ(platform::cursorFor(platform::PointerShape::Custom, std::nullopt).shape(),
              Qt::ArrowCursor);
    EXPECT_EQ(platform::cursorFor(platform::PointerShape::Hourglass, std::nullopt).shape(),
              Qt::WaitCursor);
    EXPECT_EQ(platform::cursorFor(platform::PointerShape::Normal, std::nullopt).shape(),
              Qt::ArrowCursor);
}

}  // namespace

namespace {

// Writes a cursor file: an icon written by Qt, its header turned into a cursor's
// with the given hot spot.
void writeCursorFile(const QString& path, int hotX, int hotY) {
    QImage image(32, 32, QImage::Format_ARGB32);
    image.fill(Qt::red);
    ASSERT_TRUE(image.save(path, "ICO"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    QByteArray bytes = file.readAll();
    bytes[2] = 2;
    bytes[10] = static_cast<char>(hotX);
    bytes[11] = 0;
    bytes[12] = static_cast<char>(hotY);
    bytes[13] = 0;
    file.seek(0);
    file.write(bytes);
}

TEST(PointerFile, ACursorFileGivesItsPictureAndHotSpot) {
    QTemporaryDir dir;
    const QString path = dir.filePath("HAND-M.CUR");
    writeCursorFile(path, 5, 3);
    const QCursor cursor = platform::loadCursorFile(path);
    EXPECT_EQ(cursor.shape(), Qt::BitmapCursor);
    EXPECT_EQ(cursor.pixmap().width(), 32);
    EXPECT_EQ(cursor.hotSpot(), QPoint(5, 3));
    const QCursor custom = platform::cursorFor(platform::PointerShape::Custom, cursor);
    EXPECT_EQ(custom.hotSpot(), QPoint(5, 3));
}

}  // namespace
