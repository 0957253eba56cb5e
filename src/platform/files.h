#pragma once

#include <QByteArray>
#include <QSaveFile>
#include <QString>

#include "platform/failure.h"

namespace platform {

// True when the last-change time of the path can be read; false on any failure.
bool FileExists(const QString& path);

// True when the path names an existing folder; false on any failure or for a file.
bool FolderExists(const QString& path);

// Collapses doubled separators of a path: a leading run of '/' becomes one
// '/', and elsewhere each pair "//" becomes "/" in one pass from left to
// right (a run of three becomes two, a run of four becomes two).
QString NormalizePath(const QString& path);

// The folder that holds the program's executable, without trailing separator.
QString programFolder();

// Why the path cannot hold a regular file's contents: it is, or its symbolic
// links lead to, something else (a folder, a named pipe, a device, a socket),
// or a link that leads nowhere. Empty when the path is a regular file, or a
// link to one, or names nothing yet. Looks only at the type: it never opens
// the path, so a named pipe or a device cannot make it wait.
QString notARegularFile(const QString& path);

// Replaces the file at the path with exactly these bytes, whole or not at all:
// a failure (throws platform::Failure) leaves an existing file as it was. A
// symbolic link stays a link, and the regular file it leads to gets the bytes.
// A path that is, or leads to, anything but a regular file is refused and left
// untouched: writing beside it and renaming would replace a device or a pipe.
void writeFileWhole(const QByteArray& bytes, const QString& path);

// The same for bytes that come piece by piece, however many: they go to the
// new file as they come, which takes the old one's place at commit(). Gone
// before that, the new file is dropped and the old one stays as it was.
// Every step throws platform::Failure.
class WholeFileWriter {
public:
    explicit WholeFileWriter(const QString& path);
    WholeFileWriter(const WholeFileWriter&) = delete;
    WholeFileWriter& operator=(const WholeFileWriter&) = delete;

    void write(const char* data, qint64 size);
    // A name under which the new file opens while it is built, for a library
    // that writes to a file it opens itself (the workbook writer) instead of
    // through write(). Valid until commit().
    QString buildingPath() const;
    void commit();

    // The failure of writing this file: "Cannot write <path>: <reason>".
    Failure failure(const QString& reason) const;

private:
    static constexpr qint64 kWriteBackStep = 1 << 20;
    void startWriteBack(qint64 size);

    QString path_;
    QSaveFile file_;
    qint64 written_ = 0;      // bytes written so far
    qint64 writtenBack_ = 0;  // of which the disk was asked to start on
};

}  // namespace platform
