#include "widgets/centred_window.h"

#include <QEvent>
#include <QScreen>
#include <QWidget>
#include <QWindow>

namespace widgets {

namespace {

class FirstShowingCentred : public QObject {
public:
    explicit FirstShowingCentred(QWidget* window) : QObject(window), window_(window) {
        window->installEventFilter(this);
    }

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched != window_) return false;
        switch (event->type()) {
            case QEvent::Show:
                centre();
                break;
            case QEvent::Move:
            case QEvent::Resize:
            case QEvent::Paint:
            case QEvent::WindowActivate:
                // The window manager frames the window once it is on the screen, which
                // need not move it: the first painting after that sees the frame.
                if (shown_ && frameMargins() != centredMargins_) centre();
                break;
            case QEvent::Hide:
                if (shown_) {
                    window_->removeEventFilter(this);
                    deleteLater();
                }
                break;
            default:
                break;
        }
        return false;
    }

private:
    QMargins frameMargins() const {
        const QWindow* handle = window_->windowHandle();
        return handle ? handle->frameMargins() : QMargins();
    }

    void centre() {
        shown_ = true;
        QScreen* screen = window_->screen();
        if (!screen) return;
        centredMargins_ = frameMargins();
        QRect frame = QRect(QPoint(), window_->size()).marginsAdded(centredMargins_);
        frame.moveCenter(screen->geometry().center());
        window_->setGeometry(frame.marginsRemoved(centredMargins_));  // the inside's place
    }

    QWidget* window_;
    QMargins centredMargins_;
    bool shown_ = false;
};

}  // namespace

void centreOnFirstShowing(QWidget* window) {
    new FirstShowingCentred(window);
}

}  // namespace widgets
