#pragma once

#include <QEventLoop>
#include <QObject>
#include <QPointer>
#include <QWidget>

#include <functional>

#include "benchmark.h"

namespace bench {

// Watches the whole program for the paint of a widget that `matches`, and notes
// the moment the picture has reached the X server: the paint is followed, in
// the same pass, by the copy to the screen, and a round trip to the server
// then makes sure it has been drawn.
class PaintWatch : public QObject {
public:
    PaintWatch(const Stopwatch& clock, std::function<bool(QWidget*)> matches);
    ~PaintWatch() override;

    // Called with the painted window once it is on the screen (modal boxes are
    // closed from here).
    std::function<void(QWidget*)> whenShown;

    bool shown() const { return shown_; }
    Measurement measurement() const { return measurement_; }
    // Runs the event loop until the widget is on the screen; fails the case
    // when that takes more than a minute.
    Measurement wait(const char* what);

    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void noteShown();

    const Stopwatch& clock_;
    std::function<bool(QWidget*)> matches_;
    bool painted_ = false;
    bool shown_ = false;
    QPointer<QWidget> window_;
    Measurement measurement_;
    QEventLoop* loop_ = nullptr;
};

}  // namespace bench
