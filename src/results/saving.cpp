#include "results/saving.h"

#include "platform/files.h"

namespace results {

void WriteTextFile(const QByteArray& text, const QString& path) {
    platform::writeFileWhole(text, path);
}

QString completionMessage(const QString& path) {
    return QStringLiteral("Done.\r\r") + path + QStringLiteral("\r\n\r\nwas created.");
}

}  // namespace results
