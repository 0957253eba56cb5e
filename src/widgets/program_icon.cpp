#include "widgets/program_icon.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace widgets {

QIcon ProgramIcon() {
    QPixmap pixmap(64, 64);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setBrush(QColor(0x3b, 0x7d, 0x4f));
    painter.setPen(Qt::NoPen);
    painter.drawRoundedRect(2, 2, 60, 60, 12, 12);
    QPainterPath quill;
    quill.moveTo(16, 50);
    quill.cubicTo(22, 30, 36, 14, 52, 10);
    quill.cubicTo(48, 26, 36, 40, 20, 48);
    quill.closeSubpath();
    painter.setBrush(Qt::white);
    painter.drawPath(quill);
    painter.setPen(QPen(Qt::white, 3, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(12, 54, 20, 46);
    return QIcon(pixmap);
}

}  // namespace widgets
