#pragma once

#include <string_view>

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

// The first two words of a row split at single blanks: the text before the
// first blank, and the text between the first and the second blank.
struct TwoWords {
    std::string_view first;
    std::string_view second;
    bool hasSecond = false;  // false when the row has no blank
};
TwoWords splitTwoWords(std::string_view row);

}  // namespace results
