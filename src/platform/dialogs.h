#pragma once

#include <QString>
#include <QStringList>

class QWidget;

namespace platform {

// Message-box styles as the program uses them, by their style numbers.
enum class MessageStyle {
    Ok = 0,        // OK button, no icon
    Warning = 48,  // OK button, warning icon
};

// Every modal dialog of the program goes through this interface so that tests
// can script the answers.
class Dialogs {
public:
    virtual ~Dialogs() = default;
    virtual void messageBox(const QString& text, MessageStyle style, const QString& title) = 0;
    // Returns the typed text; empty text when cancelled.
    virtual QString inputBox(const QString& prompt, const QString& title) = 0;
    // Returns full paths of the chosen files; empty when cancelled.
    virtual QStringList openFiles(QWidget* parent, const QString& title, const QString& filter) = 0;
    // Returns the chosen folder without trailing separator (except "/"); empty when cancelled.
    virtual QString chooseFolder(QWidget* parent, const QString& title) = 0;
};

// Message text with CR, LF and CR LF each turned into one line break.
QString withUnifiedLineBreaks(const QString& text);

class WidgetDialogs : public Dialogs {
public:
    void messageBox(const QString& text, MessageStyle style, const QString& title) override;
    QString inputBox(const QString& prompt, const QString& title) override;
    QStringList openFiles(QWidget* parent, const QString& title, const QString& filter) override;
    QString chooseFolder(QWidget* parent, const QString& title) override;
};

}  // namespace platform
