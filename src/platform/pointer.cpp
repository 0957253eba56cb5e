#include "platform/pointer.h"

#include <QFile>
#include <QImageReader>
#include <QPixmap>

#include "platform/failure.h"

namespace platform {

namespace {
// A cursor file starts with a 6-byte header (type 2 for cursors) and a 16-byte
// directory entry whose bytes 4..7 hold the hot spot.
QPoint hotSpotOf(const QByteArray& head) {
    if (head.size() < 22) return {0, 0};
    const auto word = [&head](int at) {
        return static_cast<int>(static_cast<quint8>(head.at(at)) |
                                (static_cast<quint8>(head.at(at + 1)) << 8));
    };
    if (word(2) != 2) return {0, 0};
    return {word(10), word(12)};
}
}  // namespace

QCursor loadCursorFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) throw Failure(QStringLiteral("File not found: ") + path);
    const QByteArray bytes = file.readAll();
    QByteArray asIcon = bytes;
    // The icon reader accepts cursor files once the type field reads "icon".
    if (asIcon.size() >= 4) asIcon[2] = 1;
    QImage image = QImage::fromData(asIcon, "ICO");
    if (image.isNull()) throw Failure(QStringLiteral("Invalid picture"));
    const QPoint hot = hotSpotOf(bytes);
    return QCursor(QPixmap::fromImage(image), hot.x(), hot.y());
}

QCursor cursorFor(PointerShape pointer, const std::optional<QCursor>& custom) {
    if (pointer == PointerShape::Hourglass) return QCursor(Qt::WaitCursor);
    if (pointer == PointerShape::Custom && custom) return *custom;
    return QCursor(Qt::ArrowCursor);
}

}  // namespace platform
