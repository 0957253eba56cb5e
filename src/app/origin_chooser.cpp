#include "app/origin_chooser.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QTreeWidget>

#include "generate/birth_decades.h"
#include "platform/settings.h"
#include "widgets/controls.h"

namespace app {

namespace keys = platform::keys;
using widgets::makeButton;
using widgets::makeNamed;
using widgets::placeInTwips;

namespace {

constexpr int kTagRole = Qt::UserRole;
constexpr int kLastShareRole = Qt::UserRole + 1;  // the share before an edit, to undo a bad one

double shareOf(const QTreeWidgetItem* item) {
    return item->data(OriginChooser::kShareColumn, Qt::EditRole).toDouble();
}

bool isChosen(const QTreeWidgetItem* item) {
    return item->checkState(OriginChooser::kNameColumn) == Qt::Checked;
}

}  // namespace

OriginChooser::OriginChooser(QList<OriginRow> rows, platform::Settings& settings, QWidget* parent)
    : QWidget(parent), rows_(std::move(rows)), settings_(settings) {
    buildControls();
    fillList();
    restoreDrawingChoices();
    connectEvents();
    enableDrawingChoices();
    if (parent) parent->installEventFilter(this);
}

bool OriginChooser::eventFilter(QObject* watched, QEvent* event) {
    if (watched == parent() && event->type() == QEvent::Hide) hide();
    return QWidget::eventFilter(watched, event);
}

void OriginChooser::buildControls() {
    widgets::setUpFixedWindow(this, "OriginChooser", 5400, 7125);
    setWindowTitle(QStringLiteral("Choose Origins"));
    filterBox = makeNamed<QLineEdit>(this, "filterBox", QString(), 120, 120, 5160, 375);
    filterBox->setPlaceholderText(QStringLiteral("Type to find an origin"));
    originList = new QTreeWidget(this);
    originList->setObjectName(QStringLiteral("originList"));
    placeInTwips(originList, 120, 600, 5160, 4095);
    originList->setRootIsDecorated(false);
    originList->setUniformRowHeights(true);
    originList->setHeaderLabels(
        {QStringLiteral("Origin"), QStringLiteral("Names"), QStringLiteral("Share")});
    originList->header()->setSectionResizeMode(kNameColumn, QHeaderView::Stretch);
    originList->header()->setStretchLastSection(false);
    originList->setEditTriggers(QAbstractItemView::DoubleClicked |
                                QAbstractItemView::EditKeyPressed |
                                QAbstractItemView::SelectedClicked);
    originList->setToolTip(
        QStringLiteral("Tick the origins to mix; Enter or a double click chooses one alone. "
                       "Each ticked origin gives names in proportion to its share."));
    allOrigins =
        makeButton(this, "allOrigins", QStringLiteral("All Origins"), 120, 4800, 2520, 405);
    equalShares =
        makeButton(this, "equalShares", QStringLiteral("Equal Shares"), 2760, 4800, 2520, 405);
    weighted = makeNamed<QCheckBox>(this, "weighted", QStringLiteral("As Common As In Life"), 120,
                                    5340, 5160, 255);
    auto* bornLabel =
        makeNamed<QLabel>(this, "bornLabel", QStringLiteral("Born In"), 120, 5730, 1200, 255);
    born = new QComboBox(this);
    born->setObjectName(QStringLiteral("born"));
    placeInTwips(born, 1320, 5670, 3960, 375);
    bornLabel->setBuddy(born);
    invent = makeNamed<QCheckBox>(this, "invent", QStringLiteral("Invent New Names Like These"),
                                  120, 6180, 5160, 255);
    closeButton = makeButton(this, "closeButton", QStringLiteral("Close"), 120, 6600, 5160, 405);
    widgets::setTabOrder(
        {filterBox, originList, allOrigins, equalShares, weighted, born, invent, closeButton});
}

void OriginChooser::fillList() {
    const QLocale locale;
    for (const OriginRow& row : rows_) {
        auto* item = new QTreeWidgetItem(originList);
        item->setText(kNameColumn, row.displayName);
        item->setData(kNameColumn, kTagRole, row.tag);
        item->setToolTip(kNameColumn, row.tag);
        item->setText(kCountColumn, locale.toString(row.names));
        item->setTextAlignment(kCountColumn, Qt::AlignRight | Qt::AlignVCenter);
        item->setData(kShareColumn, Qt::EditRole, 1.0);
        item->setData(kShareColumn, kLastShareRole, 1.0);
        item->setTextAlignment(kShareColumn, Qt::AlignRight | Qt::AlignVCenter);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable |
                       Qt::ItemIsEditable);
        item->setCheckState(kNameColumn, Qt::Unchecked);
    }
    originList->resizeColumnToContents(kCountColumn);
    originList->resizeColumnToContents(kShareColumn);
}

void OriginChooser::connectEvents() {
    connect(filterBox, &QLineEdit::textChanged, this, [this] { applyFilter(); });
    connect(filterBox, &QLineEdit::returnPressed, this, [this] {
        const QStringList shown = shownTags();
        if (!shown.isEmpty()) chooseAlone(shown.front());
    });
    connect(originList, &QTreeWidget::itemChanged, this, &OriginChooser::itemChanged);
    connect(originList, &QTreeWidget::itemActivated, this, [this](QTreeWidgetItem* item, int col) {
        if (col != kShareColumn) chooseAlone(item->data(kNameColumn, kTagRole).toString());
    });
    connect(allOrigins, &QPushButton::clicked, this, [this] { chooseAll(); });
    connect(equalShares, &QPushButton::clicked, this, [this] { makeSharesEqual(); });
    connect(closeButton, &QPushButton::clicked, this, &QWidget::close);
    connect(weighted, &QCheckBox::toggled, this,
            [this](bool on) { settings_.writeOption(keys::Weighted, on); });
    connect(invent, &QCheckBox::toggled, this,
            [this](bool on) { settings_.writeOption(keys::Invent, on); });
    connect(born, &QComboBox::currentIndexChanged, this,
            [this] { settings_.writeText(keys::Born, born->currentData().toString()); });
}

void OriginChooser::restoreDrawingChoices() {
    born->addItem(QStringLiteral("Any Year"), QString());
    for (int decade = generate::kFirstDecade; decade <= generate::kLastDecade; decade += 10)
        born->addItem(QStringLiteral("%1s").arg(decade), QStringLiteral("%1s").arg(decade));
    const QString stored = settings_.readText(keys::Born);
    int index = born->findData(stored);
    if (index < 0) {
        // A range or a year stored by hand stays as it is until another is chosen.
        born->addItem(stored, stored);
        index = born->count() - 1;
    }
    born->setCurrentIndex(index);
    weighted->setChecked(settings_.readOption(keys::Weighted));
    invent->setChecked(settings_.readOption(keys::Invent));
}

QTreeWidgetItem* OriginChooser::itemOf(const QString& tag) const {
    for (int i = 0; i < originList->topLevelItemCount(); ++i) {
        QTreeWidgetItem* item = originList->topLevelItem(i);
        if (item->data(kNameColumn, kTagRole).toString() == tag) return item;
    }
    return nullptr;
}

void OriginChooser::showChoice(const generate::OriginMix& chosen) {
    quiet_ = true;
    for (int i = 0; i < originList->topLevelItemCount(); ++i)
        originList->topLevelItem(i)->setCheckState(kNameColumn, Qt::Unchecked);
    for (std::size_t i = 0; i < chosen.tags.size(); ++i) {
        QTreeWidgetItem* item = itemOf(QString::fromStdString(chosen.tags[i]));
        if (!item) continue;
        const double share = chosen.shares.empty() ? 1.0 : chosen.shares[i];
        item->setData(kShareColumn, Qt::EditRole, share);
        item->setData(kShareColumn, kLastShareRole, share);
        item->setCheckState(kNameColumn, Qt::Checked);
        if (i == 0) originList->scrollToItem(item);
    }
    quiet_ = false;
    enableDrawingChoices();
}

generate::OriginMix OriginChooser::choice() const {
    QStringList tags;
    QList<double> shares;
    for (int i = 0; i < originList->topLevelItemCount(); ++i) {
        const QTreeWidgetItem* item = originList->topLevelItem(i);
        if (!isChosen(item)) continue;
        tags.append(item->data(kNameColumn, kTagRole).toString());
        shares.append(shareOf(item));
    }
    return mixOf(tags, shares);
}

QStringList OriginChooser::shownTags() const {
    QStringList tags;
    for (int i = 0; i < originList->topLevelItemCount(); ++i) {
        const QTreeWidgetItem* item = originList->topLevelItem(i);
        if (!item->isHidden()) tags.append(item->data(kNameColumn, kTagRole).toString());
    }
    return tags;
}

void OriginChooser::applyFilter() {
    for (int i = 0; i < originList->topLevelItemCount(); ++i)
        originList->topLevelItem(i)->setHidden(!matchesFilter(rows_[i], filterBox->text()));
}

void OriginChooser::chooseAlone(const QString& tag) {
    if (!itemOf(tag)) return;
    showChoice(generate::OriginMix{{tag.toStdString()}, {}});
    report();
}

void OriginChooser::chooseAll() {
    quiet_ = true;
    for (int i = 0; i < originList->topLevelItemCount(); ++i)
        originList->topLevelItem(i)->setCheckState(kNameColumn, Qt::Checked);
    quiet_ = false;
    report();
}

void OriginChooser::makeSharesEqual() {
    quiet_ = true;
    for (int i = 0; i < originList->topLevelItemCount(); ++i) {
        originList->topLevelItem(i)->setData(kShareColumn, Qt::EditRole, 1.0);
        originList->topLevelItem(i)->setData(kShareColumn, kLastShareRole, 1.0);
    }
    quiet_ = false;
    report();
}

void OriginChooser::itemChanged(QTreeWidgetItem* item, int column) {
    if (quiet_) return;
    if (column == kShareColumn) {
        bool number = false;
        const double share = item->data(kShareColumn, Qt::EditRole).toDouble(&number);
        if (!number || !(share > 0)) {
            // Shares are positive: a bad one goes back to what it was.
            quiet_ = true;
            item->setData(kShareColumn, Qt::EditRole, item->data(kShareColumn, kLastShareRole));
            quiet_ = false;
            return;
        }
        quiet_ = true;
        item->setData(kShareColumn, kLastShareRole, share);
        quiet_ = false;
        if (!isChosen(item)) return;
    } else if (column == kNameColumn && !isChosen(item) && choice().tags.empty()) {
        // One origin at least stays chosen.
        quiet_ = true;
        item->setCheckState(kNameColumn, Qt::Checked);
        quiet_ = false;
        return;
    } else if (column != kNameColumn) {
        return;
    }
    report();
}

void OriginChooser::report() {
    enableDrawingChoices();
    if (onChosen) onChosen(choice());
}

void OriginChooser::enableDrawingChoices() {
    bool frequencies = false;
    bool decades = false;
    for (int i = 0; i < originList->topLevelItemCount(); ++i) {
        if (!isChosen(originList->topLevelItem(i))) continue;
        frequencies = frequencies || rows_[i].frequencies;
        decades = decades || rows_[i].decades;
    }
    weighted->setEnabled(frequencies);
    born->setEnabled(decades);
}

}  // namespace app
