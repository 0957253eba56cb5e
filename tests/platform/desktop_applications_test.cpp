// The default application for workbooks, looked up in a desktop made of
// temporary folders: nothing here starts a program.
#include <map>
#include <utility>
#include <vector>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "platform/desktop_applications.h"
#include "platform/failure.h"
#include "platform/spreadsheet.h"
#include "support/qt_printers.h"

namespace {

// The XDG folders and the search path of the test process point into a
// temporary folder for the life of the object.
class FakeDesktop {
public:
    FakeDesktop() {
        set("XDG_CONFIG_HOME", "config");
        set("XDG_CONFIG_DIRS", "etc");
        set("XDG_DATA_HOME", "data");
        set("XDG_DATA_DIRS", "usr");
        set("PATH", "bin");
        saved_.emplace_back("XDG_CURRENT_DESKTOP", qgetenv("XDG_CURRENT_DESKTOP"));
        qputenv("XDG_CURRENT_DESKTOP", "Test:Other");
    }
    ~FakeDesktop() {
        for (const auto& [name, value] : saved_) qputenv(name, value);
    }

    QString path(const QString& relative) const { return root_.filePath(relative); }

    // A file below the root, its folders made as needed.
    void write(const QString& relative, const QByteArray& text) const {
        QDir().mkpath(QFileInfo(path(relative)).path());
        QFile file(path(relative));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text);
    }
    // An executable on the search path.
    void program(const QString& name) const {
        write("bin/" + name, "#!/bin/sh\n");
        QFile(path("bin/" + name)).setPermissions(QFile::ReadOwner | QFile::ExeOwner);
    }

private:
    void set(const char* name, const QString& folder) {
        saved_.emplace_back(name, qgetenv(name));
        qputenv(name, QFile::encodeName(root_.filePath(folder)));
    }

    QTemporaryDir root_;
    std::vector<std::pair<const char*, QByteArray>> saved_;
};

const QByteArray kClaiming =
    "[Desktop Entry]\nType=Application\nName=Calc A\nExec=calc-a %f\n"
    "MimeType=text/csv;application/vnd.openxmlformats-officedocument.spreadsheetml.sheet;\n";
const QByteArray kOther = "[Desktop Entry]\nType=Application\nName=Calc B\nExec=calc-b\n";
const QByteArray kHidden = "[Desktop Entry]\nType=Application\nExec=calc-b\nHidden=true\n";
const QByteArray kMissingProgram = "[Desktop Entry]\nType=Application\nExec=nowhere %f\n";
const QByteArray kMissingTryExec =
    "[Desktop Entry]\nType=Application\nExec=calc-b\nTryExec=nowhere\n";

QByteArray mimeapps(const char* group, const char* ids) {
    return QByteArray("[") + group +
           "]\napplication/vnd.openxmlformats-officedocument.spreadsheetml.sheet=" + ids + "\n";
}

TEST(DefaultApplication, FollowsTheMimeAppsListsAndTheDesktopFiles) {
    using Files = std::vector<std::pair<QString, QByteArray>>;
    const Files installed{{"usr/applications/a.desktop", kClaiming},
                          {"usr/applications/b.desktop", kOther},
                          {"usr/applications/hidden.desktop", kHidden},
                          {"usr/applications/gone.desktop", kMissingProgram},
                          {"usr/applications/tryexec.desktop", kMissingTryExec}};
    const struct {
        const char* what;
        Files files;
        const char* found;  // desktop file below the root, "" for none
    } cases[] = {
        {"a desktop file that lists the type", {}, "usr/applications/a.desktop"},
        {"the user's default before the system's",
         {{"etc/mimeapps.list", mimeapps("Default Applications", "a.desktop")},
          {"config/mimeapps.list", mimeapps("Default Applications", "b.desktop")}},
         "usr/applications/b.desktop"},
        {"the current desktop's list before the general one",
         {{"config/mimeapps.list", mimeapps("Default Applications", "b.desktop")},
          {"config/other-mimeapps.list", mimeapps("Default Applications", "a.desktop")}},
         "usr/applications/a.desktop"},
        {"defaults that cannot start are passed over",
         {{"config/mimeapps.list",
           mimeapps("Default Applications",
                    "gone.desktop;hidden.desktop;tryexec.desktop;absent.desktop;b.desktop")}},
         "usr/applications/b.desktop"},
        {"an added association before the desktop files",
         {{"data/applications/mimeapps.list", mimeapps("Added Associations", "b.desktop")}},
         "usr/applications/b.desktop"},
        {"a removal hides the association below it",
         {{"config/mimeapps.list", mimeapps("Removed Associations", "a.desktop;b.desktop")},
          {"etc/mimeapps.list", mimeapps("Added Associations", "b.desktop")}},
         ""},
        {"a removal does not hide a default",
         {{"config/mimeapps.list", mimeapps("Removed Associations", "a.desktop")},
          {"etc/mimeapps.list", mimeapps("Default Applications", "a.desktop")}},
         "usr/applications/a.desktop"},
        {"an id names a desktop file in a subfolder",
         {{"usr/applications/kde/calc.desktop", kOther},
          {"config/mimeapps.list", mimeapps("Default Applications", "kde-calc.desktop")}},
         "usr/applications/kde/calc.desktop"},
        {"the user's own desktop file hides the system's",
         {{"data/applications/a.desktop", kHidden}},
         ""},
    };
    for (const auto& c : cases) {
        const FakeDesktop desktop;
        desktop.program("calc-a");
        desktop.program("calc-b");
        for (const auto& [path, text] : c.files) desktop.write(path, text);
        for (const auto& [path, text] : installed)
            if (!QFile::exists(desktop.path(path))) desktop.write(path, text);
        const QString expected = *c.found ? desktop.path(c.found) : QString();
        EXPECT_EQ(platform::defaultApplicationFor(platform::kWorkbookMimeType), expected) << c.what;
    }
    const FakeDesktop empty;
    EXPECT_EQ(platform::defaultApplicationFor(platform::kWorkbookMimeType), "");
}

TEST(DefaultApplication, TheExecLineGivesTheCommandForTheFile) {
    const FakeDesktop desktop;
    const QString file = "/tmp/my names.xlsx";
    const QString desktopFile = desktop.path("calc.desktop");
    const struct {
        const char* exec;
        QStringList command;
    } cases[] = {
        {"calc %f", {"calc", file}},
        {"calc --view %U", {"calc", "--view", "file:///tmp/my%20names.xlsx"}},
        {"calc", {"calc", file}},
        {R"("/opt/my calc/calc" --title=%c %i %k %m %F)",
         {"/opt/my calc/calc", "--title=Calc", "--icon", "calc-icon", desktopFile, file}},
        {R"(calc\sx "100%%" %f)", {"calc", "x", "100%", file}},
        {R"(sh -c "echo \\"hi\\"" %f)", {"sh", "-c", "echo \"hi\"", file}},
        {"", {}},
    };
    for (const auto& c : cases) {
        desktop.write("calc.desktop", QByteArray("[Desktop Entry]\nName=Calc\nIcon=calc-icon\n") +
                                          "Exec=" + c.exec + "\n");
        EXPECT_EQ(platform::commandToOpen(desktopFile, file), c.command) << c.exec;
    }
}

// The workbook hand-off, with a launcher that records instead of starting:
// the command line that opened the workbook, "" when no program was found.
TEST(WorkbookHandOff, OpensWithTheDefaultApplicationElseTheSearchPathsProgram) {
    const QByteArray libreOffice =
        "[Desktop Entry]\nType=Application\nExec=libreoffice --calc %U\n";
    const struct {
        const char* what;
        std::vector<std::pair<QString, QByteArray>> files;
        const char* program;  // on the search path
        QStringList opened;   // "%bin" stands for the search path, "%file" for the workbook
    } cases[] = {
        {"the default application",
         {{"usr/applications/a.desktop", kClaiming}},
         "calc-a",
         {"calc-a", "%file"}},
        {"a default LibreOffice makes a new document",
         {{"usr/applications/lo.desktop", libreOffice},
          {"config/mimeapps.list", mimeapps("Default Applications", "lo.desktop")}},
         "libreoffice",
         {"libreoffice", "--calc", "-n", "%file"}},
        {"no default: the search path's program",
         {{"usr/applications/b.desktop", kOther}},
         "soffice",
         {"%bin/soffice", "--calc", "-n", "%file"}},
        {"no spreadsheet program at all", {{"usr/applications/b.desktop", kOther}}, "calc-b", {}},
    };
    for (const auto& c : cases) {
        const FakeDesktop desktop;
        desktop.program(c.program);
        for (const auto& [path, text] : c.files) desktop.write(path, text);
        QStringList opened;
        platform::DesktopSpreadsheet spreadsheet(
            [&](const QString& program, const QStringList& arguments) {
                opened = QStringList{program} + arguments;
                return true;
            });
        try {
            auto application = spreadsheet.createApplication();
            application->addWorkbook();
            application->setCell(1, 1, "Anna Berg");
            application->makeVisible();
        } catch (const platform::Failure& failure) {
            // As before: the same description for the one report.
            EXPECT_EQ(failure.description(),
                      "No spreadsheet program was found: libreoffice or soffice is needed on "
                      "the search path");
        }
        const QString workbook = opened.isEmpty() ? QString() : opened.last();
        QStringList expected = c.opened;
        expected.replaceInStrings("%bin", desktop.path("bin")).replaceInStrings("%file", workbook);
        EXPECT_EQ(opened, expected) << c.what;
        if (!workbook.isEmpty()) {
            EXPECT_TRUE(workbook.endsWith(".xlsx")) << c.what;
            EXPECT_GT(QFileInfo(workbook).size(), 0) << c.what;
            QFile::remove(workbook);
        }
    }
}

}  // namespace
