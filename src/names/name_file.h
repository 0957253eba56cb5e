#pragma once

#include <functional>

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace names {

// The text of a name file: UTF-8 (a byte-order mark skipped); UTF-16 when the
// file starts with its byte-order mark; otherwise, when the bytes are not valid
// UTF-8, Windows-1252, as older Windows programs save text.
QString decodeNameFile(const QByteArray& bytes);
QString decodeWindows1252(const QByteArray& bytes);

// Where in its line a name stood: before a line feed, after the last line feed
// of the line, or alone on a line without line feeds.
enum class NamePlace { BeforeLineFeed, AfterLastLineFeed, WholeLine };

QString removeApostrophes(QString text);

// Hands every name of a decoded name file to `take`, in file order. A carriage
// return, a CR LF pair or a lone line feed ends a name; apostrophes are
// removed and empty names skipped; blanks stay.
void forEachName(const QString& text,
                 const std::function<void(const QString& name, NamePlace place)>& take);

// The names a file's bytes hold, as they would be stored (before the cut to
// 50 characters).
QStringList splitNameFile(const QByteArray& bytes);

// The largest name file that is read, in bytes: many times any real list
// (a million names take about 15 MB), and small enough to import in memory.
inline constexpr qint64 kNameFileLimit = qint64{256} * 1024 * 1024;

// Reads a whole name file; throws platform::Failure when it cannot be opened
// or read (a folder, a file without read permission), when it is not a
// regular file (a named pipe, a socket, a device) or when it holds more than
// kNameFileLimit bytes. Never waits for a writer: such files are refused by
// their type, before and after opening.
QByteArray readNameFile(const QString& path);

}  // namespace names
