#pragma once

#include <QFunctionPointer>

namespace platform {

// The part of the program kept apart from the command line, so that a command
// starts without loading the libraries of the windows: the windows and the
// workbook writer, in the module quillfern-windows.so, found at
// QF_MODULE_FOLDER_FROM_PROGRAM from the program's own folder. The module is
// loaded on the first call and kept to the end. Returns the function of that
// name in it; throws Failure, naming the file, when the module cannot be
// loaded or lacks the function.
QFunctionPointer programModuleFunction(const char* name);

}  // namespace platform
