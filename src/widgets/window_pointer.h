#pragma once

#include <initializer_list>
#include <optional>

#include <QCursor>
#include <QList>
#include <QObject>

#include "platform/pointer.h"

class QWidget;

namespace widgets {

// A window's mouse pointer (the value its MousePointer holds) and the pointer
// handling both windows share as the mouse moves over them: a push button
// shows the custom pointer; the window, its frames and the controls named as
// arrow areas show the arrow; other controls leave the pointer as it is. The
// hourglass stays until the window takes it away.
class WindowPointer : public QObject {
public:
    // Belongs to the window.
    explicit WindowPointer(QWidget* window);

    platform::PointerShape shape() const { return shape_; }
    void setShape(platform::PointerShape shape);

    // Where the custom pointer's picture is: HAND-M.CUR in the program folder.
    static QString handPicturePath(const QString& programFolder);
    // Takes the custom pointer's picture from that file; throws
    // platform::Failure when it is not a readable picture.
    void loadHandPicture(const QString& path);

    // Starts the handling for the window and every control it holds now. The
    // inner parts of an arrow area (a list's rows area, header and scroll
    // bars) count as the arrow area.
    void track(std::initializer_list<QWidget*> arrowAreas);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void movedOver(QObject* control);

    QWidget* window_;
    QList<QWidget*> arrowAreas_;
    platform::PointerShape shape_ = platform::PointerShape::Normal;
    std::optional<QCursor> handPicture_;
};

}  // namespace widgets
