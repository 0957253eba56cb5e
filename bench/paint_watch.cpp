#include "paint_watch.h"

#include <QApplication>
#include <QEventLoop>
#include <QTimer>

#include <string>

#include "x_server.h"

namespace bench {

PaintWatch::PaintWatch(const Stopwatch& clock, std::function<bool(QWidget*)> matches)
    : clock_(clock), matches_(std::move(matches)) {
    qApp->installEventFilter(this);
}

PaintWatch::~PaintWatch() {
    qApp->removeEventFilter(this);
}

bool PaintWatch::eventFilter(QObject* watched, QEvent* event) {
    if (painted_ || event->type() != QEvent::Paint || !watched->isWidgetType()) return false;
    auto* widget = static_cast<QWidget*>(watched);
    if (!matches_(widget)) return false;
    painted_ = true;
    window_ = widget->window();
    // Runs once this pass of painting, and its copy to the screen, is over.
    QTimer::singleShot(0, this, [this] { noteShown(); });
    return false;
}

void PaintWatch::noteShown() {
    waitForXServer();
    measurement_ = clock_.lap();
    shown_ = true;
    if (whenShown) whenShown(window_);
    if (loop_) loop_->quit();
}

Measurement PaintWatch::wait(const char* what) {
    if (!shown_) {
        QEventLoop loop;
        loop_ = &loop;
        QTimer::singleShot(60000, &loop, &QEventLoop::quit);
        loop.exec();
        loop_ = nullptr;
    }
    if (!shown_) fail(std::string(what) + " was never painted");
    return measurement_;
}

}  // namespace bench
