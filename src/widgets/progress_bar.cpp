#include "widgets/progress_bar.h"

namespace widgets {

namespace {
constexpr qint64 kFrameMs = 16;  // a screen that shows 60 frames a second
}  // namespace

ProgressBar::ProgressBar(QWidget* parent) : QProgressBar(parent) {
    setRange(0, 100);
    setValue(0);
    setTextVisible(true);
    setAlignment(Qt::AlignCenter);
}

void ProgressBar::rest() {
    setValue(0);
    setCaption(QStringLiteral("Progress Bar"));
}

void ProgressBar::setCaption(const QString& caption) {
    caption_ = caption;
    update();
}

void ProgressBar::advance(int position) {
    if (lastDrawn_.isValid() && !lastDrawn_.hasExpired(kFrameMs)) {
        // Within this frame: the position only, drawn by the next frame or the
        // next paint.
        setUpdatesEnabled(false);
        setValue(position);
        setUpdatesEnabled(true);
        return;
    }
    setValue(position);  // draws at once when the bar's look changes
    lastDrawn_.start();
}

}  // namespace widgets
