#include <QApplication>
#include <QThreadPool>

#include "app/form1.h"
#include "names/database_location.h"
#include "platform/dialogs.h"
#include "platform/files.h"
#include "platform/settings.h"
#include "platform/shell.h"
#include "platform/spreadsheet.h"
#include "platform/workbook_folder.h"

// The windows, as the program starts them once it has found a display.
extern "C" __attribute__((visibility("default"))) int quillfernWindowsMain(int argc, char* argv[]) {
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
