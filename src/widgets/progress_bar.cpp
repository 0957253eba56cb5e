#include "widgets/progress_bar.h"

namespace widgets {

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

}  // namespace widgets
