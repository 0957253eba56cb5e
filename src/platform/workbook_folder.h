#pragma once

#include <QDateTime>
#include <QString>

namespace platform {

// The folder that holds the workbooks handed to the spreadsheet program: a
// folder of this program's own in the temporary folder, open to this user
// alone. Its workbooks are named Quillfern-<six random characters>.xlsx.
inline constexpr char kWorkbookPrefix[] = "Quillfern-";
inline constexpr char kWorkbookSuffix[] = ".xlsx";

QString workbookFolder();

// True when the path is a folder (not a link to one) that belongs to this
// user and is closed to everyone else.
bool isOwnPrivateFolder(const QString& folder);

// Makes the workbook folder when it is missing. A folder of that name that
// someone else made, or opened to others, is not used: the workbooks in it
// could be read or swapped. Throws platform::Failure.
void preparePrivateFolder(const QString& folder);

// Removes from the folder the workbooks last changed more than a day before
// `now`, except those that the spreadsheet program may still be reading.
// Does nothing in a folder that is not this user's own.
void removeStaleWorkbooks(const QString& folder, const QDateTime& now);

}  // namespace platform
