#pragma once

#include <exception>

#include <QString>
#include <QStringList>

#include "guarded/reporter.h"
#include "platform/dialogs.h"
#include "platform/failure.h"

namespace cli {

// A failure in flight ends the command: it goes on up, to be told on
// standard error (or not at all, for a reader that went away); without one,
// the text becomes a failure of its own.
[[noreturn]] inline void endCommand(const QString& text) {
    if (const std::exception_ptr failure = std::current_exception())
        std::rethrow_exception(failure);
    throw platform::Failure(text);
}

// The shared procedures' failures on the command line: the first ends the
// command, instead of the windows' carrying on with the next statement.
class EndOnFailure final : public guarded::Reporter {
public:
    void report(const QString& description, const QString&, int) override {
        endCommand(description);
    }
    void reportUnguarded(const QString& description, const QString&) override {
        endCommand(description);
    }
};

// The command line shows no dialog: a message that a shared procedure would
// show in a box, or a failure it would report there, ends the command.
class EndOnMessage final : public platform::Dialogs {
public:
    void messageBox(const QString& text, platform::MessageStyle, const QString&) override {
        end(text);
    }
    QString inputBox(const QString&, const QString&) override { end(noDialog()); }
    QStringList openFiles(QWidget*, const QString&, const QString&) override { end(noDialog()); }
    QString chooseFolder(QWidget*, const QString&) override { end(noDialog()); }

private:
    static QString noDialog() { return QStringLiteral("no dialog can be shown here"); }
    [[noreturn]] static void end(const QString& text) { endCommand(text); }
};

}  // namespace cli
