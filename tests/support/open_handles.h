#pragma once

#include <QString>

namespace testsupport {

// How many open file handles of this process lead to the file: one for each
// open database connection to it.
int openHandlesTo(const QString& path);

}  // namespace testsupport
