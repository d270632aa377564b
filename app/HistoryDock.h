#pragma once
// "History": the steps of the map document in a list beside the map, the current one
// selected; clicking a step shows that state.
#include <QDockWidget>

class QListWidget;

namespace qm {

class TMapHistory;

class THistoryDock : public QDockWidget {
    Q_OBJECT
public:
    explicit THistoryDock(QWidget* parent = nullptr);

    // The list follows the history (rebuilt only while shown; showing catches up).
    void SetHistory(const TMapHistory* history);
    void Refresh();
    QListWidget* List() const { return list_; }

signals:
    // The user picked step `index` (0 = the oldest kept) by clicking it or with the arrow keys.
    void StepChosen(int index);

protected:
    void showEvent(QShowEvent* e) override;

private:
    QListWidget* list_ = nullptr;
    const TMapHistory* history_ = nullptr;
    bool stale_ = true;
};

} // namespace qm
