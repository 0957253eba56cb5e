#include <QApplication>
#include <QThreadPool>

#include <cstdio>

#include "app/form1.h"
#include "cli/run.h"
#include "names/database_location.h"
#include "platform/dialogs.h"
#include "platform/files.h"
#include "platform/settings.h"
#include "platform/shell.h"
#include "platform/spreadsheet.h"
#include "platform/workbook_folder.h"

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
    QApplication application(argc, argv);
    // Ties the windows to the menu entry and its icon on the desktop.
    QGuiApplication::setDesktopFileName(QStringLiteral(QF_APP_ID));
    platform::WidgetDialogs dialogs;
    platform::Settings settings(platform::Settings::userFolder());
    platform::DesktopShell shell;
    platform::DesktopSpreadsheet spreadsheet;
    // Workbooks left from saves of earlier runs are cleared away beside the
    // start-up, which does not wait for it.
    QThreadPool::globalInstance()->start([] {
        platform::removeStaleWorkbooks(platform::DesktopSpreadsheet::workbookFolder(),
                                       QDateTime::currentDateTime());
    });
    app::Form1 form1(widgets::Environment{dialogs, settings, shell, &spreadsheet,
                                          platform::programFolder(), names::nameDatabasePath()});
    form1.show();
    return application.exec();
}
