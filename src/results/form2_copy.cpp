// Copying names from the results list: Ctrl+A, Ctrl+C and the list's context menu.
#include <vector>

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QItemSelectionModel>
#include <QKeySequence>
#include <QTableView>

#include "guarded/failure_report.h"
#include "results/form2.h"
#include "results/result_list.h"
#include "widgets/failure_box.h"

namespace results {

namespace {

QAction* addListAction(QTableView* list, const QString& caption, QKeySequence::StandardKey keys) {
    auto* action = new QAction(caption, list);
    action->setShortcut(keys);
    action->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    list->addAction(action);
    return action;
}

}  // namespace

void Form2::addCopyActions() {
    ListView1->setContextMenuPolicy(Qt::ActionsContextMenu);
    QAction* copy = addListAction(ListView1, QStringLiteral("Copy"), QKeySequence::Copy);
    QAction* selectAll =
        addListAction(ListView1, QStringLiteral("Select All"), QKeySequence::SelectAll);
    // No report of their own: a failure (memory for a huge copy) is shown.
    connect(copy, &QAction::triggered, this, [this] {
        widgets::runUnguarded(env_.dialogs, "Form2", "ListView1_Copy",
                              [this] { ListView1_Copy(); });
    });
    connect(selectAll, &QAction::triggered, this, [this] {
        widgets::runUnguarded(env_.dialogs, "Form2", "ListView1_SelectAll",
                              [this] { ListView1_SelectAll(); });
    });
}

void Form2::ListView1_SelectAll() {
    const int rows = results_->rowCount();
    if (rows == 0) return;
    // One range for the whole list, however long it is.
    ListView1->selectionModel()->select(
        QItemSelection(results_->index(0), results_->index(rows - 1)),
        QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

void Form2::ListView1_Copy() {
    const QItemSelection selection = ListView1->selectionModel()->selection();
    if (selection.isEmpty()) return;
    std::vector<ResultList::RowRange> ranges;
    ranges.reserve(static_cast<std::size_t>(selection.size()));
    for (const QItemSelectionRange& range : selection)
        ranges.push_back({range.top(), range.bottom()});
    QGuiApplication::clipboard()->setText(results_->lines(std::move(ranges)));
}

}  // namespace results
