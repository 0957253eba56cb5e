// The windows' icon: the pictures installed for the desktop, built into the program.
#include <QPixmap>

#include <gtest/gtest.h>

#include "widgets/program_icon.h"

namespace {

TEST(ProgramIcon, HoldsAPictureForEachInstalledSize) {
    const QIcon icon = widgets::programIcon();
    for (const int size : {48, 128, 256}) {
        SCOPED_TRACE(size);
        const QPixmap picture = icon.pixmap(QSize(size, size));
        ASSERT_FALSE(picture.isNull());
        EXPECT_EQ(picture.size(), QSize(size, size));
        // Drawn, not blank: the tile's middle is opaque, its corner transparent.
        const QImage image = picture.toImage();
        EXPECT_EQ(qAlpha(image.pixel(size / 2, size / 4)), 255);
        EXPECT_EQ(qAlpha(image.pixel(0, 0)), 0);
    }
}

}  // namespace
