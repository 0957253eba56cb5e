#pragma once

#include <QProcess>
#include <QString>

namespace bench {

// A private X server (Xvfb) for the runs, on a display number it picks itself,
// so that nothing else draws on it and several benches may run side by side.
class VirtualScreen {
public:
    VirtualScreen();  // fails the bench when Xvfb cannot be started
    ~VirtualScreen();
    VirtualScreen(const VirtualScreen&) = delete;
    VirtualScreen& operator=(const VirtualScreen&) = delete;

    const QString& display() const { return display_; }  // ":N"

private:
    QProcess server_;
    QString display_;
};

// Returns once the X server has carried out every request this program has
// sent it: what was drawn is then on the screen.
void waitForXServer();

}  // namespace bench
