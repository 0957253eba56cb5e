#pragma once

#include <optional>

#include <QCursor>
#include <QString>
#include <QWidget>

#include "platform/pointer.h"

class QGroupBox;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTableView;

namespace guarded {
class Procedure;
}
namespace platform {
class Dialogs;
class Settings;
class Shell;
class Spreadsheet;
}  // namespace platform

namespace results {

class ResultList;

// What the results window needs from the outside world; tests pass doubles.
struct Form2Environment {
    platform::Dialogs& dialogs;
    platform::Settings& settings;
    platform::Shell& shell;
    platform::Spreadsheet* spreadsheet = nullptr;
    QString programFolder;          // holds HAND-M.CUR
    QString applicationTitle;       // titles the message boxes
    QWidget* mainWindow = nullptr;  // shown again by "< Back"
};

// The results window. Creating it lays out the controls and runs Form_Load;
// it is then hidden and shown, never destroyed before the program ends.
class Form2 : public QWidget {
    Q_OBJECT
public:
    explicit Form2(Form2Environment environment);
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

    platform::PointerShape MousePointer() const { return pointer_; }
    void SetMousePointer(platform::PointerShape pointer);

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

    // The pointer handling for a mouse movement over the given control.
    void PointerOver(QObject* control);

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildControls();
    void connectEvents();
    void PaintButtonFace();
    void AddCopyActions();
    void message(const QString& text);
    void SaveToSpreadsheet(guarded::Procedure& procedure, bool twoCells);

    Form2Environment env_;
    ResultList* results_ = nullptr;
    platform::PointerShape pointer_ = platform::PointerShape::Normal;
    std::optional<QCursor> customPointer_;
};

}  // namespace results
