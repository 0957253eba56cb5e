#pragma once

#include <memory>
#include <string_view>

#include <QSettings>
#include <QStringList>
#include <QTemporaryDir>
#include <QWidget>

#include <gtest/gtest.h>

#include "platform/spreadsheet.h"
#include "results/form2.h"
#include "results/result_list.h"
#include "support/recording_shell.h"
#include "support/recording_spreadsheet.h"
#include "support/scripted_dialogs.h"
#include "support/temp_settings.h"

namespace testsupport {

// The results window on its own, with doubles for the outside world and a
// stand-in for the main window.
class Form2Fixture : public ::testing::Test {
protected:
    results::Form2& open() {
        form2 = std::make_unique<results::Form2>(
            widgets::Environment{dialogs, temp.settings, shell, spreadsheet, programFolder.path()},
            QStringLiteral("Quillfern"), &main);
        return *form2;
    }

    void fill(const QStringList& names) {
        results::ResultList& list = form2->results();
        list.clear();
        for (const QString& name : names) {
            const QByteArray utf8 = name.toUtf8();
            list.addUtf8Row({std::string_view(utf8.constData(), static_cast<size_t>(utf8.size()))});
        }
        list.publish();
    }

    QString stored(const char* key) const {
        return QSettings(temp.settings.filePath(), QSettings::IniFormat)
            .value(QStringLiteral("Quillfern/") + key)
            .toString();
    }
    bool isStored(const char* key) const {
        return QSettings(temp.settings.filePath(), QSettings::IniFormat)
            .contains(QStringLiteral("Quillfern/") + key);
    }

    QTemporaryDir programFolder;
    TempSettings temp;
    ScriptedDialogs dialogs;
    RecordingShell shell;
    RecordingSpreadsheet recording;
    platform::Spreadsheet* spreadsheet = &recording;
    QWidget main;
    std::unique_ptr<results::Form2> form2;
};

}  // namespace testsupport
