#pragma once

#include <QString>
#include <QWidget>

#include "platform/pointer.h"
#include "widgets/environment.h"
#include "widgets/window_pointer.h"

class QGroupBox;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTableView;

namespace guarded {
class Procedure;
}

namespace results {

class ResultList;

// The results window. Creating it lays out the controls and runs Form_Load;
// it is then hidden and shown, never destroyed before the program ends.
class Form2 : public QWidget {
    Q_OBJECT
public:
    // `applicationTitle` titles the message boxes; "< Back" shows `mainWindow` again.
    Form2(widgets::Environment environment, QString applicationTitle, QWidget* mainWindow);
    ~Form2() override;

    // Controls, named as in the window designer.
    QPushButton* PushButton8 = nullptr;  // "< Back"
    QGroupBox* Frame2 = nullptr;         // "Output"
    QRadioButton* Option4 = nullptr;     // "Text File"
    QRadioButton* Option5 = nullptr;     // "Excel (2 cells)"
    QRadioButton* Option6 = nullptr;     // "Excel (1 cell)"
    QTableView* ListView1 = nullptr;     // the results list
    QGroupBox* Frame4 = nullptr;         // "Save Results To This Folder"
    QLineEdit* Text2 = nullptr;          // the output folder
    QPushButton* PushButton1 = nullptr;  // "..."
    QPushButton* PushButton2 = nullptr;  // "Save Results"

    // The rows of ListView1.
    ResultList& results() { return *results_; }

    platform::PointerShape MousePointer() const { return pointer_->shape(); }
    void SetMousePointer(platform::PointerShape pointer) { pointer_->setShape(pointer); }

    // Event procedures.
    void Form_Load();
    void Form_QueryUnload();
    void PushButton8_Click();
    void Text2_Change();
    void PushButton1_Click();
    void PushButton2_Click();
    // Copying from the results list: the selected names, one per line, to the
    // clipboard; selecting every row.
    void ListView1_Copy();
    void ListView1_SelectAll();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void buildControls();
    void connectEvents();
    void paintButtonFace();
    void addCopyActions();
    void message(const QString& text);
    void saveToSpreadsheet(guarded::Procedure& procedure, bool twoCells);

    widgets::Environment env_;
    QString applicationTitle_;
    QWidget* mainWindow_;
    widgets::WindowPointer* pointer_;
    ResultList* results_ = nullptr;
};

}  // namespace results
