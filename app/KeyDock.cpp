#include "app/KeyDock.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QSignalBlocker>
#include <QTableWidget>
#include <QVBoxLayout>

#include "model/MapKey.h"

namespace qm {

TKeyDock::TKeyDock(QWidget* parent) : QDockWidget(QStringLiteral("Key"), parent) {
    setObjectName(QStringLiteral("KeyDock"));
    setFeatures(QDockWidget::DockWidgetClosable | QDockWidget::DockWidgetMovable);
    auto* body = new QWidget(this);
    auto* layout = new QVBoxLayout(body);
    layout->setContentsMargins(4, 4, 4, 4);
    table_ = new QTableWidget(0, 2, body);
    table_->setObjectName(QStringLiteral("KeyTable"));
    table_->setHorizontalHeaderLabels({QStringLiteral("No."), QStringLiteral("Title")});
    table_->verticalHeader()->hide();
    table_->horizontalHeader()->setStretchLastSection(true);
    table_->horizontalHeader()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setSelectionMode(QAbstractItemView::SingleSelection);
    table_->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                            QAbstractItemView::AnyKeyPressed);
    text_ = new QPlainTextEdit(body);
    text_->setObjectName(QStringLiteral("KeyText"));
    text_->setPlaceholderText(QStringLiteral("What the room holds, for the game master's eyes."));
    text_->installEventFilter(this);
    renumber_ = new QPushButton(QStringLiteral("Renumber"), body);
    renumber_->setObjectName(QStringLiteral("KeyRenumber"));
    renumber_->setToolTip(QStringLiteral("Number the rooms again from the entrance (number 1) outward"));
    delete_ = new QPushButton(QStringLiteral("Delete"), body);
    delete_->setObjectName(QStringLiteral("KeyDelete"));
    delete_->setToolTip(QStringLiteral("Delete the picked label and its entry"));
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(renumber_);
    buttons->addStretch(1);
    buttons->addWidget(delete_);
    layout->addWidget(table_, 3);
    layout->addWidget(text_, 2);
    layout->addLayout(buttons);
    setWidget(body);

    connect(table_, &QTableWidget::currentCellChanged, this, [this](int row, int, int oldRow, int) {
        if (row == oldRow) return;
        CommitText();
        QTableWidgetItem* item = row >= 0 ? table_->item(row, 0) : nullptr;
        picked_ = item ? item->data(Qt::UserRole).toInt() : 0;
        ShowPickedText();
        if (picked_) emit EntryPicked(picked_);
    });
    connect(table_, &QTableWidget::itemChanged, this, [this](QTableWidgetItem* item) {
        if (item->column() != 1) return;
        const int number = table_->item(item->row(), 0)->data(Qt::UserRole).toInt();
        emit TitleEdited(number, item->text());
    });
    connect(renumber_, &QPushButton::clicked, this, [this] {
        CommitText();
        emit RenumberClicked();
    });
    connect(delete_, &QPushButton::clicked, this, [this] {
        if (picked_) emit DeleteClicked(picked_);
    });
}

void TKeyDock::SetKey(const TMapKey* key) {
    key_ = key;
    Refresh();
}

void TKeyDock::Refresh() {
    if (!isVisible() || !key_) {
        stale_ = true;
        return;
    }
    stale_ = false;
    const QSignalBlocker quiet(table_);
    const int count = int(key_->Entries.size());
    table_->setRowCount(count);
    int current = -1;
    for (int i = 0; i < count; ++i) {
        const TKeyEntry& e = key_->Entries[size_t(i)];
        QTableWidgetItem* no = table_->item(i, 0);
        if (!no) {
            no = new QTableWidgetItem;
            no->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
            no->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            table_->setItem(i, 0, no);
        }
        no->setText(QString::number(e.Number));
        no->setData(Qt::UserRole, e.Number);
        QTableWidgetItem* title = table_->item(i, 1);
        if (!title) table_->setItem(i, 1, title = new QTableWidgetItem);
        const QString t = QString::fromStdString(e.Title);
        if (title->text() != t) title->setText(t);
        title->setToolTip(QStringLiteral("at %1, %2").arg(e.X).arg(e.Y));
        if (e.Number == picked_) current = i;
    }
    if (current < 0) picked_ = 0;
    table_->setCurrentCell(current, current < 0 ? -1 : 1);
    if (current >= 0) table_->scrollToItem(table_->item(current, 0));
    delete_->setEnabled(picked_ != 0);
    renumber_->setEnabled(count > 1);
    ShowPickedText();
}

void TKeyDock::Pick(int number) {
    picked_ = number;
    Refresh();
}

void TKeyDock::ShowPickedText() {
    const TKeyEntry* e = key_ && picked_ ? key_->Find(picked_) : nullptr;
    text_->setEnabled(e != nullptr);
    delete_->setEnabled(e != nullptr);
    const QString t = e ? QString::fromStdString(e->Text) : QString();
    // Text being typed stays until it is handed on.
    if (!text_->document()->isModified() && text_->toPlainText() != t) {
        const QSignalBlocker quiet(text_);
        text_->setPlainText(t);
        text_->document()->setModified(false);
    }
}

void TKeyDock::CommitText() {
    if (!text_->document()->isModified()) return;
    text_->document()->setModified(false);
    if (picked_) emit TextEdited(picked_, text_->toPlainText());
}

bool TKeyDock::eventFilter(QObject* watched, QEvent* e) {
    if (watched == text_ && e->type() == QEvent::FocusOut) CommitText();
    return QDockWidget::eventFilter(watched, e);
}

void TKeyDock::showEvent(QShowEvent* e) {
    QDockWidget::showEvent(e);
    if (stale_) Refresh();
}

} // namespace qm
