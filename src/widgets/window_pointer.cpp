#include "widgets/window_pointer.h"

#include <QDir>
#include <QGroupBox>
#include <QMouseEvent>
#include <QPushButton>

#include "widgets/controls.h"

namespace widgets {

WindowPointer::WindowPointer(QWidget* window) : QObject(window), window_(window) {}

void WindowPointer::setShape(platform::PointerShape shape) {
    shape_ = shape;
    window_->setCursor(platform::cursorFor(shape, handPicture_));
}

QString WindowPointer::handPicturePath(const QString& programFolder) {
    return QDir(programFolder).filePath(QStringLiteral("HAND-M.CUR"));
}

void WindowPointer::loadHandPicture(const QString& path) {
    handPicture_ = platform::loadCursorFile(path);
}

void WindowPointer::track(std::initializer_list<QWidget*> arrowAreas) {
    arrowAreas_ = arrowAreas;
    QList<QWidget*> tracked = window_->findChildren<QWidget*>();
    tracked << window_;
    for (QWidget* widget : tracked) {
        widget->setMouseTracking(true);
        widget->installEventFilter(this);
    }
}

void WindowPointer::movedOver(QObject* control) {
    if (shape_ == platform::PointerShape::Hourglass) return;
    if (qobject_cast<QPushButton*>(control)) {
        setShape(platform::PointerShape::Custom);
        return;
    }
    const bool arrowArea = control == window_ || qobject_cast<QGroupBox*>(control) ||
                           arrowAreas_.contains(qobject_cast<QWidget*>(control));
    if (arrowArea) setShape(platform::PointerShape::Normal);
}

bool WindowPointer::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::MouseMove) return false;
    QObject* control = watched;
    for (QWidget* area : arrowAreas_) {
        if (watched != area && area->isAncestorOf(qobject_cast<QWidget*>(watched))) control = area;
    }
    movedOver(control);
    // Handled here so that the movement does not reach the enclosing frame
    // too; a list's header still gets it.
    return static_cast<QMouseEvent*>(event)->buttons() == Qt::NoButton && !isListHeader(watched);
}

}  // namespace widgets
