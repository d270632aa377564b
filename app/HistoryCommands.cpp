// Edit > Step Backward, Step Forward and History...: every state of this session's map
// within reach. Ctrl+Z stays the one-level exchange; it is recorded as a step "Undo".
#include <QAction>

#include "app/HistoryDock.h"
#include "app/MainWindow.h"

namespace qm {

namespace {
constexpr int HistoryDockWidth = 180;
} // namespace

void Twinviewform::CreateHistory() {
    HistoryDock1 = new THistoryDock(this);
    addDockWidget(Qt::RightDockWidgetArea, HistoryDock1);
    HistoryDock1->hide();
    HistoryDock1->SetHistory(&app_->Document.History());
    connect(HistoryDock1, &THistoryDock::StepChosen, this,
            [this](int step) { RunCommand([this, step] { app_->Document.StepTo(step); }); });

    UpdateHistory();
}

void Twinviewform::StepBackwardExecute() { app_->Document.StepBackward(); }

void Twinviewform::StepForwardExecute() { app_->Document.StepForward(); }

void Twinviewform::HistoryClick() {
    const bool opening = !HistoryDock1->isVisible();
    HistoryDock1->show();
    HistoryDock1->raise();
    // Narrow beside the map: step names are short, the map wants the room.
    if (opening) resizeDocks({HistoryDock1}, {HistoryDockWidth}, Qt::Horizontal);
}

void Twinviewform::UpdateHistory() {
    const TMapHistory& h = app_->Document.History();
    StepBackward1->setEnabled(h.Current() > 0);
    StepForward1->setEnabled(h.Current() + 1 < h.Count());
    HistoryDock1->Refresh();
}

} // namespace qm
