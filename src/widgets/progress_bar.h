#pragma once

#include <QElapsedTimer>
#include <QProgressBar>
#include <QString>

namespace widgets {

// A progress bar from 0 to 100 that shows a text of its own ("Progress Bar").
class ProgressBar : public QProgressBar {
    Q_OBJECT
public:
    explicit ProgressBar(QWidget* parent = nullptr);
    void setCaption(const QString& caption);
    // Back at rest: position 0, the caption "Progress Bar".
    void rest();
    QString text() const override { return caption_; }
    // Takes a position during a run that gives the window system no chance to
    // draw: the bar is drawn here, at once, but at most once per frame of the
    // screen. Drawing every step of a fast run costs more than the run itself
    // and shows nothing more.
    void advance(int position);

private:
    QString caption_;
    QElapsedTimer lastDrawn_;
};

}  // namespace widgets
