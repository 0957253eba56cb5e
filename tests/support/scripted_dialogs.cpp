#include "support/scripted_dialogs.h"

#include <gtest/gtest.h>

namespace testsupport {

ScriptedDialogs::~ScriptedDialogs() {
    verifyAllShown();
}

void ScriptedDialogs::expectMessageBox(int count, std::function<void()> meanwhile) {
    for (int i = 0; i < count; ++i) expected_.push_back({"message", {}, meanwhile});
}

void ScriptedDialogs::answerInputBox(const QString& answer, std::function<void()> meanwhile) {
    expected_.push_back({"input", {answer}, std::move(meanwhile)});
}

void ScriptedDialogs::answerOpenFiles(const QStringList& paths, std::function<void()> meanwhile) {
    expected_.push_back({"open", paths, std::move(meanwhile)});
}

void ScriptedDialogs::answerChooseFolder(const QString& folder) {
    expected_.push_back({"folder", {folder}, {}});
}

QStringList ScriptedDialogs::messages() const {
    QStringList texts;
    for (const Shown& shown : shown_)
        if (shown.kind == "message") texts << shown.text;
    return texts;
}

void ScriptedDialogs::verifyAllShown() {
    for (const Expected& expected : expected_)
        ADD_FAILURE() << "expected a " << expected.kind.toStdString() << " dialog that never came";
    expected_.clear();
}

ScriptedDialogs::Expected ScriptedDialogs::take(const QString& kind, const QString& text) {
    if (expected_.empty() || expected_.front().kind != kind) {
        ADD_FAILURE() << "unexpected " << kind.toStdString() << " dialog: " << text.toStdString();
        return {kind, {}, {}};
    }
    Expected next = expected_.front();
    expected_.pop_front();
    return next;
}

void ScriptedDialogs::messageBox(const QString& text, platform::MessageStyle style,
                                 const QString& title) {
    shown_.push_back({"message", text, style, title});
    const Expected expected = take("message", text);
    if (expected.meanwhile) expected.meanwhile();
}

QString ScriptedDialogs::inputBox(const QString& prompt, const QString& title) {
    shown_.push_back({"input", prompt, {}, title});
    const Expected answer = take("input", prompt);
    if (answer.meanwhile) answer.meanwhile();
    return answer.answer.value(0);
}

QStringList ScriptedDialogs::openFiles(QWidget*, const QString& title, const QString& filter) {
    shown_.push_back({"open", filter, {}, title});
    const Expected answer = take("open", title);
    if (answer.meanwhile) answer.meanwhile();
    return answer.answer;
}

QString ScriptedDialogs::chooseFolder(QWidget*, const QString& title) {
    shown_.push_back({"folder", QString(), {}, title});
    return take("folder", title).answer.value(0);
}

}  // namespace testsupport
