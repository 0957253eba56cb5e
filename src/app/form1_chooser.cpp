// The main window's origin button and the chooser window it opens: the
// Origin key written the moment the choice changes, then the lists reloaded.
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>

#include "app/form1.h"
#include "app/origin_chooser.h"
#include "app/origin_rows.h"
#include "guarded/failure_report.h"
#include "names/origin_store.h"
#include "platform/database.h"
#include "platform/settings.h"
#include "widgets/controls.h"
#include "widgets/failure_box.h"

namespace app {

void Form1::buildOriginControls() {
    // In the free space of "List Options", beside the gender options.
    originFrame =
        widgets::makeFrame(Frame4, "originFrame", QStringLiteral("Origin"), 5040, 570, 2640, 735);
    originButton = widgets::makeButton(originFrame, "originButton", QString(), 120, 270, 2400, 375);
    QFont font = originButton->font();
    font.setPointSizeF(9);  // a display name fits at the frames' size
    originButton->setFont(font);
    widgets::paintBackground(originFrame, Qt::white);
    QWidget::setTabOrder(Option6, originButton);
    connect(originButton, &QPushButton::clicked, this,
            [this] { runUnguarded("originButton_Click", [this] { originButton_Click(); }); });
}

void Form1::originButton_Click() {
    if (!chooser_) {
        platform::Database database;
        database.open(databasePath());
        QList<OriginRow> rows = readOriginRows(database);
        database.close();
        chooser_ = new OriginChooser(std::move(rows), env_.settings, this);
        chooser_->setWindowFlag(Qt::Window);
        chooser_->onChosen = [this](const generate::OriginMix& chosen) {
            runUnguarded("originChooser_Change", [this, &chosen] { originsChosen(chosen); });
        };
    }
    chooser_->showChoice(currentOrigins().chosen);
    chooser_->show();
    chooser_->raise();
    chooser_->activateWindow();
}

void Form1::originsChosen(const generate::OriginMix& chosen) {
    env_.settings.writeText(platform::keys::Origin,
                            QString::fromStdString(generate::formatOriginMix(chosen)));
    // The key is read again, and the built-in tables refilled, by the reload.
    origins_.reset();
    DatabaseToListview();
    // The next run's draw is made meanwhile, as at start-up.
    prepareDraw();
}

void Form1::showOriginCaption() {
    if (!origins_) return;
    platform::Database database;
    database.open(databasePath());
    QList<OriginRow> known;
    for (const names::OriginRecord& origin : names::storedOrigins(database))
        known.append({origin.tag, origin.displayName});
    database.close();
    const QString caption = originCaption(origins_->tags(), known);
    originButton->setText(caption);
    originButton->setToolTip(QStringLiteral("The origins of Amberlin's List: %1").arg(caption));
}

}  // namespace app
