#include <cstdio>

#include <QtGlobal>

#include "cli/run.h"
#include "platform/failure.h"
#include "platform/program_module.h"

int main(int argc, char* argv[]) {
    // A command (generate, names, import, --help, --version) runs without a
    // display; nothing at all, or only the window system's options, opens the windows.
    if (cli::wantsCommandLine(argc, argv)) return cli::run(argc, argv);
    const bool noDisplay = qEnvironmentVariableIsEmpty("DISPLAY") &&
                           qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") &&
                           qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM");
    if (noDisplay) {
        std::fputs(
            "Quillfern needs a graphical desktop: no display was found "
            "(DISPLAY is not set).\n",
            stderr);
        return 1;
    }
    try {
        using WindowsMain = int (*)(int, char*[]);
        const auto windows =
            reinterpret_cast<WindowsMain>(platform::programModuleFunction("quillfernWindowsMain"));
        return windows(argc, argv);
    } catch (const platform::Failure& failure) {
        std::fprintf(stderr, "Quillfern cannot open its windows: %s\n",
                     failure.description().toLocal8Bit().constData());
        return 1;
    }
}
