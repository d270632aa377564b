#include "app/HistoryDock.h"

#include <QListWidget>
#include <QShowEvent>
#include <QSignalBlocker>

#include "editor/MapHistory.h"

namespace qm {

THistoryDock::THistoryDock(QWidget* parent) : QDockWidget(QStringLiteral("History"), parent) {
    setObjectName(QStringLiteral("HistoryDock"));
    setFeatures(QDockWidget::DockWidgetClosable | QDockWidget::DockWidgetMovable);
    list_ = new QListWidget(this);
    list_->setObjectName(QStringLiteral("HistoryList"));
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    list_->setUniformItemSizes(true);
    setWidget(list_);
    // A click or the arrow keys: the list only moves its current row when the user does.
    connect(list_, &QListWidget::currentRowChanged, this, [this](int row) {
        if (row >= 0) emit StepChosen(row);
    });
}

void THistoryDock::SetHistory(const TMapHistory* history) {
    history_ = history;
    Refresh();
}

void THistoryDock::Refresh() {
    // A hidden list costs nothing per edit; it is brought up to date when shown.
    if (!isVisible() || !history_) {
        stale_ = true;
        return;
    }
    stale_ = false;
    const QSignalBlocker quiet(list_);
    const int count = history_->Count();
    // Steps are only ever dropped at either end and added at the end: most edits touch
    // one or two rows, so only the rows whose names differ are rewritten.
    while (list_->count() > count) delete list_->takeItem(list_->count() - 1);
    for (int i = 0; i < count; ++i) {
        const QString name = history_->Name(i);
        if (i < list_->count()) {
            if (list_->item(i)->text() != name) list_->item(i)->setText(name);
        } else {
            list_->addItem(name);
        }
    }
    list_->setCurrentRow(history_->Current());
    if (QListWidgetItem* current = list_->currentItem()) list_->scrollToItem(current);
}

void THistoryDock::showEvent(QShowEvent* e) {
    QDockWidget::showEvent(e);
    if (stale_) Refresh();
}

} // namespace qm
