// Edit > Step Backward, Step Forward and History...: every state of this session's map
// within reach. Ctrl+Z stays the one-level exchange; it is recorded as a step "Undo".
#include <QAction>
#include <QMenu>

#include "app/HistoryDock.h"
#include "app/MainWindow.h"

namespace qm {

namespace {
constexpr int HistoryDockWidth = 180;
} // namespace

void Twinviewform::CreateHistory() {
    // After Undo, before the separator that leads to Copy Image.
    QAction* before = nullptr;
    const QList<QAction*> items = Edit1->actions();
    for (int i = 0; i + 1 < items.size(); ++i)
        if (items[i]->objectName() == QLatin1String("Undo1")) before = items[i + 1];
    auto add = [&](const char* name, const QString& caption, const QString& shortcut, const QString& hint) {
        QAction* item = AddItem(Edit1, name, caption, shortcut, hint, nullptr);
        Edit1->removeAction(item);
        Edit1->insertAction(before, item);
        return item;
    };
    StepBackward1 = add("StepBackward1", QStringLiteral("Step Backward"), QStringLiteral("Ctrl+Alt+Z"),
                        QStringLiteral(" Show The Map As It Was One Step Earlier."));
    StepForward1 = add("StepForward1", QStringLiteral("Step Forward"), QStringLiteral("Ctrl+Shift+Z"),
                       QStringLiteral(" Show The Map As It Was One Step Later."));
    History1 = add("History1", QStringLiteral("History..."), {},
                   QStringLiteral(" Show Every Step Of This Session And Go Back To Any Of Them."));

    HistoryDock1 = new THistoryDock(this);
    addDockWidget(Qt::RightDockWidgetArea, HistoryDock1);
    HistoryDock1->hide();
    HistoryDock1->SetHistory(&app_->Document.History());
    connect(HistoryDock1, &THistoryDock::StepChosen, this,
            [this](int step) { RunCommand([this, step] { app_->Document.StepTo(step); }); });

    connect(StepBackward1, &QAction::triggered, this, [this] { RunCommand([this] { StepBackwardExecute(); }); });
    connect(StepForward1, &QAction::triggered, this, [this] { RunCommand([this] { StepForwardExecute(); }); });
    connect(History1, &QAction::triggered, this, [this] { RunCommand([this] { HistoryClick(); }); });
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
