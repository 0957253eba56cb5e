#include "platform/dialogs.h"

#include <QApplication>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>

namespace platform {

QString withUnifiedLineBreaks(const QString& text) {
    QString unified = text;
    unified.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    unified.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return unified;
}

void WidgetDialogs::messageBox(const QString& text, MessageStyle style, const QString& title) {
    QMessageBox box(style == MessageStyle::Warning ? QMessageBox::Warning : QMessageBox::NoIcon,
                    title, withUnifiedLineBreaks(text), QMessageBox::Ok,
                    QApplication::activeWindow());
    box.exec();
}

QString WidgetDialogs::inputBox(const QString& prompt, const QString& title) {
    bool accepted = false;
    QString text = QInputDialog::getText(QApplication::activeWindow(), title, prompt,
                                         QLineEdit::Normal, QString(), &accepted);
    return accepted ? text : QString();
}

QStringList WidgetDialogs::openFiles(QWidget* parent, const QString& title, const QString& filter) {
    return QFileDialog::getOpenFileNames(parent, title, QString(), filter);
}

QString WidgetDialogs::chooseFolder(QWidget* parent, const QString& title) {
    return QFileDialog::getExistingDirectory(parent, title, QString(), QFileDialog::ShowDirsOnly);
}

}  // namespace platform
