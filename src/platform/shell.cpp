#include "platform/shell.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QStandardPaths>
#include <QUrl>

#include "platform/failure.h"
#include "platform/files.h"

namespace platform {

QString DesktopShell::desktopFolder() {
    const QString desktop = QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
    if (FolderExists(desktop)) return desktop;
    // A fresh home has no desktop folder yet: the home folder stands in, so
    // that the first save finds its folder.
    const QString home = QDir::homePath();
    if (home.isEmpty()) throw Failure(QStringLiteral("The desktop folder cannot be found"));
    return home;
}

void DesktopShell::openUrl(const QString& address) {
    QDesktopServices::openUrl(QUrl(address));
}

void DesktopShell::endProgram() {
    QCoreApplication::exit(0);
}

}  // namespace platform
