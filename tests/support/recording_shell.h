#pragma once

#include <QStringList>

#include "platform/failure.h"
#include "platform/shell.h"

namespace testsupport {

// A shell double that records what the program asked of it.
class RecordingShell : public platform::Shell {
public:
    QString desktop = QStringLiteral("/home/tester/Desktop");
    bool desktopFails = false;
    QStringList openedUrls;
    int endProgramCalls = 0;

    QString desktopFolder() override {
        if (desktopFails)
            throw platform::Failure(QStringLiteral("The desktop folder cannot be found"));
        return desktop;
    }
    void openUrl(const QString& address) override { openedUrls << address; }
    void endProgram() override { ++endProgramCalls; }
};

}  // namespace testsupport
