#include "platform/program_module.h"

#include <QDir>
#include <QFileInfo>
#include <QLibrary>

#include "platform/failure.h"

namespace platform {

namespace {

// The program's folder without an application object, which the windows'
// start creates only once the module is loaded.
QString modulePath() {
    const QString program = QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath();
    return QDir::cleanPath(
        QFileInfo(program).path() +
        QStringLiteral("/" QF_MODULE_FOLDER_FROM_PROGRAM "/quillfern-windows.so"));
}

}  // namespace

QFunctionPointer programModuleFunction(const char* name) {
    // Never unloaded: the windows' objects live until the program ends.
    static QLibrary module(modulePath());
    if (!module.isLoaded() && !module.load())
        throw Failure(QStringLiteral("Cannot load the program's module: ") + module.errorString());
    const QFunctionPointer function = module.resolve(name);
    if (!function)
        throw Failure(QStringLiteral("The program's module %1 lacks %2")
                          .arg(module.fileName(), QLatin1String(name)));
    return function;
}

}  // namespace platform
