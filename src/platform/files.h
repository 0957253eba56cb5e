#pragma once

#include <QString>

namespace platform {

// True when the last-change time of the path can be read; false on any failure.
bool FileExists(const QString& path);

// True when the path names an existing folder; false on any failure or for a file.
bool FolderExists(const QString& path);

// The folder that holds the program's executable, without trailing separator.
QString programFolder();

}  // namespace platform
