#include "platform/shell.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QStandardPaths>
#include <QUrl>

#include "platform/failure.h"

namespace platform {

QString DesktopShell::desktopFolder() {
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
    if (folder.isEmpty()) throw Failure(QStringLiteral("The desktop folder cannot be found"));
    return folder;
}

void DesktopShell::openUrl(const QString& address) {
    QDesktopServices::openUrl(QUrl(address));
}

void DesktopShell::endProgram() {
    QCoreApplication::exit(0);
}

}  // namespace platform
