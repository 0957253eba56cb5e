#pragma once

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

private:
    QString caption_;
};

}  // namespace widgets
