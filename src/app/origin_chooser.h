#pragma once

#include <functional>

#include <QList>
#include <QWidget>

#include "app/origin_rows.h"
#include "generate/origin_mix.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace platform {
class Settings;
}

namespace app {

// The window that chooses the origins of the built-in list and how its names
// are drawn. Ticking origins chooses several, each with a share that can be
// edited; Enter or a double click on an origin chooses it alone; Enter in the
// filter box chooses the first origin it finds. Every change is reported at
// once; the three drawing choices are stored the moment they change.
class OriginChooser : public QWidget {
    Q_OBJECT
public:
    OriginChooser(QList<OriginRow> rows, platform::Settings& settings, QWidget* parent = nullptr);

    // Ticks the chosen origins with their shares; reports nothing.
    void showChoice(const generate::OriginMix& chosen);
    generate::OriginMix choice() const;
    // The origins the filter box leaves in view, by tag.
    QStringList shownTags() const;
    // Chooses one origin alone (a double click on it) and reports the change.
    void chooseAlone(const QString& tag);

    // Called with the new choice whenever the user changes it.
    std::function<void(const generate::OriginMix&)> onChosen;

    QLineEdit* filterBox = nullptr;
    QTreeWidget* originList = nullptr;
    QPushButton* allOrigins = nullptr;
    QPushButton* equalShares = nullptr;
    QCheckBox* weighted = nullptr;
    QComboBox* born = nullptr;
    QCheckBox* invent = nullptr;
    QPushButton* closeButton = nullptr;

    // Columns of the origin list.
    static constexpr int kNameColumn = 0;
    static constexpr int kCountColumn = 1;
    static constexpr int kShareColumn = 2;

protected:
    // The chooser belongs to the window that opened it: it hides with it.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildControls();
    void fillList();
    void connectEvents();
    void applyFilter();
    void itemChanged(QTreeWidgetItem* item, int column);
    void chooseAll();
    void makeSharesEqual();
    void report();
    void enableDrawingChoices();
    void restoreDrawingChoices();
    QTreeWidgetItem* itemOf(const QString& tag) const;

    QList<OriginRow> rows_;
    platform::Settings& settings_;
    bool quiet_ = false;  // while the list is set from code
};

}  // namespace app
