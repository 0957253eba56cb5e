#pragma once

#include <deque>
#include <functional>
#include <vector>

#include <QString>
#include <QStringList>

#include "platform/dialogs.h"
#include "support/widget_printers.h"

namespace testsupport {

// A dialogs double: it returns queued answers and fails the test on any dialog
// it was not told to expect, and on expected dialogs that never came.
class ScriptedDialogs : public platform::Dialogs {
public:
    struct Shown {
        QString kind;  // "message", "input", "open", "folder"
        QString text;  // message text or prompt
        platform::MessageStyle style = platform::MessageStyle::Ok;
        QString title;
    };

    ~ScriptedDialogs() override;

    // `meanwhile` runs while the dialog is shown, before the program goes on.
    void expectMessageBox(int count = 1, std::function<void()> meanwhile = {});
    void answerInputBox(const QString& answer, std::function<void()> meanwhile = {});
    void answerOpenFiles(const QStringList& paths, std::function<void()> meanwhile = {});
    void answerChooseFolder(const QString& folder);

    const std::vector<Shown>& shown() const { return shown_; }
    // The texts of the message boxes shown so far.
    QStringList messages() const;
    // Fails the test when expected dialogs have not come yet; clears the queue.
    void verifyAllShown();

    void messageBox(const QString& text, platform::MessageStyle style,
                    const QString& title) override;
    QString inputBox(const QString& prompt, const QString& title) override;
    QStringList openFiles(QWidget* parent, const QString& title, const QString& filter) override;
    QString chooseFolder(QWidget* parent, const QString& title) override;

private:
    struct Expected {
        QString kind;
        QStringList answer;
        std::function<void()> meanwhile;
    };
    Expected take(const QString& kind, const QString& text);

    std::deque<Expected> expected_;
    std::vector<Shown> shown_;
};

}  // namespace testsupport
