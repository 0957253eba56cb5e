#pragma once

#include <QByteArray>
#include <QString>

namespace results {

inline constexpr char kFolderMissing[] = "Folder does not exist. Please select another folder.";

// Replaces the file with exactly these bytes, whole or not at all: a failure
// (throws platform::Failure) leaves an existing file as it was, and a path
// that is or leads to anything but a regular file is refused untouched.
void WriteTextFile(const QByteArray& text, const QString& path);

// "Done.", CR, CR, the path, CR LF, CR LF, "was created."
QString completionMessage(const QString& path);

}  // namespace results
