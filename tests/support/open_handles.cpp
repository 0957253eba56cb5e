#include "support/open_handles.h"

#include <QDir>
#include <QFileInfo>

namespace testsupport {

int openHandlesTo(const QString& path) {
    const QString file = QFileInfo(path).canonicalFilePath();
    if (file.isEmpty()) return 0;
    int handles = 0;
    const QDir descriptors(QStringLiteral("/proc/self/fd"));
    for (const QFileInfo& descriptor : descriptors.entryInfoList(QDir::System | QDir::Files))
        if (descriptor.symLinkTarget() == file) ++handles;
    return handles;
}

}  // namespace testsupport
