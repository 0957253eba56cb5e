#pragma once

#include <QString>
#include <QStringList>

namespace platform {

// The desktop's MIME associations, as the freedesktop.org files keep them:
// mimeapps.list in the configuration and data folders, and the desktop files
// of the installed applications.

inline constexpr char kWorkbookMimeType[] =
    "application/vnd.openxmlformats-officedocument.spreadsheetml.sheet";

// The desktop file of the user's default application for exactly this MIME
// type: the first installed entry of "Default Applications" in the
// mimeapps.list files by precedence (desktop-specific lists first), else the
// first "Added Associations" entry not removed, else the first application
// whose desktop file lists the type. "" when there is none.
QString defaultApplicationFor(const QString& mimeType);

// The command line (program first) that opens `file` with the application of
// a desktop file, from its Exec line; empty when the file has no usable one.
QStringList commandToOpen(const QString& desktopFile, const QString& file);

}  // namespace platform
