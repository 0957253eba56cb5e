#include "platform/files.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QFileInfo>

namespace platform {

bool FileExists(const QString& path) {
    if (path.isEmpty()) return false;
    const QFileInfo info(path);
    return info.exists() && info.lastModified().isValid();
}

bool FolderExists(const QString& path) {
    if (path.isEmpty()) return false;
    return QFileInfo(path).isDir();
}

QString programFolder() {
    return QCoreApplication::applicationDirPath();
}

}  // namespace platform
