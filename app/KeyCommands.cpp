// The map key in the window: the Label tool on the map, the "Key" dock, the labels drawn
// over the map while hidden symbols show, and deleting the picked label.
#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QToolButton>

#include "app/KeyDock.h"
#include "app/MainWindow.h"
#include "compose/KeyLabels.h"
#include "editor/LabelTool.h"

namespace qm {

namespace {
constexpr int KeyDockWidth = 300;
} // namespace

void Twinviewform::CreateKey() {
    // The level items say in their tool tips why they are disabled.
    if (auto* file = menuBar()->findChild<QMenu*>(QStringLiteral("File1"))) file->setToolTipsVisible(true);
    KeyDock1 = new TKeyDock(this);
    addDockWidget(Qt::RightDockWidgetArea, KeyDock1);
    KeyDock1->hide();
    KeyDock1->SetKey(&app_->Document.CurrentKey);
    TMapDocument& doc = app_->Document;
    connect(KeyDock1, &TKeyDock::EntryPicked, this, [this](int number) { PickLabel(number, true); });
    connect(KeyDock1, &TKeyDock::TitleEdited, this, [this, &doc](int number, const QString& title) {
        RunCommand([&doc, number, title] { SetKeyEntryTitle(doc, number, title.toStdString()); });
        KeyDock1->Refresh(); // a title cleaned on the way shows as it is kept
    });
    connect(KeyDock1, &TKeyDock::TextEdited, this, [this, &doc](int number, const QString& text) {
        RunCommand([&doc, number, text] { SetKeyEntryText(doc, number, text.toStdString()); });
    });
    connect(KeyDock1, &TKeyDock::RenumberClicked, this,
            [this, &doc] { RunCommand([this, &doc] { RenumberKey(doc, app_->Symbols); }); });
    connect(KeyDock1, &TKeyDock::DeleteClicked, this, [this](int number) {
        RunCommand([this, number] {
            if (DeleteLabel(app_->Document, number)) pickedLabel_ = 0;
        });
    });
}

void Twinviewform::KeyClick() {
    const bool opening = !KeyDock1->isVisible();
    KeyDock1->show();
    KeyDock1->raise();
    if (opening) resizeDocks({KeyDock1}, {KeyDockWidth}, Qt::Horizontal);
}

void Twinviewform::LabelItemClick() { ButtonLabel->setChecked(true); }

void Twinviewform::DeleteLabelExecute() {
    KeyDock1->CommitText();
    if (pickedLabel_ && DeleteLabel(app_->Document, pickedLabel_)) pickedLabel_ = 0;
}

void Twinviewform::PickLabel(int number, bool scroll) {
    pickedLabel_ = number;
    const TKeyEntry* e = app_->Document.CurrentKey.Find(number);
    if (e && scroll) {
        DrawGrid1->SetSelection({e->X - 1, e->Y - 1, e->X - 1, e->Y - 1});
        DrawGrid1->ScrollToCell(e->X - 1, e->Y - 1);
    }
    if (KeyDock1->Picked() != number) KeyDock1->Pick(number);
    RepaintMap();
}

bool Twinviewform::LabelToolMouseUp() {
    if (!ButtonLabel->isChecked()) return false;
    KeyDock1->CommitText();
    // The grid's current cell is where the press was; the selection's far corner is
    // where the button came up.
    const TGridRect sel = DrawGrid1->Selection();
    const int pressCol = DrawGrid1->Col(), pressRow = DrawGrid1->Row();
    const int col = sel.Left == pressCol ? sel.Right : sel.Left;
    const int row = sel.Top == pressRow ? sel.Bottom : sel.Top;
    const TLabelOutcome out = UseLabelTool(app_->Document, pressCol, pressRow, col, row);
    PickLabel(out.Picked, false);
    if (!out.Status.isEmpty()) StatusBar1->showMessage(toolStatus_ = out.Status);
    return true;
}

QString Twinviewform::LabelToolHint() const {
    if (!ButtonLabel->isChecked() || pointer_.Col < 0 || pointer_.Row < 0) return {};
    const TMapKey& key = app_->Document.CurrentKey;
    if (const TKeyEntry* e = key.At(pointer_.Col + 1, pointer_.Row + 1))
        return QStringLiteral("Label %1: click to pick it, drag it to move it; Delete removes it.").arg(e->Number);
    const int next = key.NextFreeNumber();
    return next ? QStringLiteral("Label: click to pin number %1 here.").arg(next)
                : QStringLiteral("Label: all 999 numbers are in use.");
}

void Twinviewform::DrawCellLabel(QPainter& p, int col, int row, const QRect& rect) {
    // The game master's view only, as the hidden symbols.
    if (!app_->Document.CurrentMap.ShowHidden) return;
    const int number = labelIndex_[size_t(col)][size_t(row)];
    if (!number) return;
    DrawKeyLabel(p, rect, number);
    if (number == pickedLabel_) {
        p.save();
        p.setPen(QPen(QColor(40, 110, 220), std::max(1, rect.width() / 16)));
        p.setBrush(Qt::NoBrush);
        p.drawRect(rect.adjusted(0, 0, -1, -1));
        p.restore();
    }
}

namespace {
// The neighbour a level's key names ("Below: d-3.map"): a file beside this map only.
struct TLevelLink {
    QString Path;   // empty when there is none to open
    QString Reason; // why not, for the tool tip
};

TLevelLink LevelLink(const TMapDocument& doc, const char* field) {
    const std::string name = doc.CurrentKey.Field(field);
    const bool above = std::string(field) == "Above";
    if (doc.CurrentKey.Field("Level").empty()) return {{}, QStringLiteral("This map is no level of a stack.")};
    if (name.empty())
        return {{},
                above ? QStringLiteral("This is the top level of its stack.")
                      : QStringLiteral("This is the bottom level of its stack.")};
    const QString file = QString::fromStdString(name);
    if (file.contains(QLatin1Char('/')) || file.contains(QLatin1Char('\\')) || file == QLatin1String("..") ||
        doc.FileName().isEmpty())
        return {{}, QStringLiteral("The key names %1, which is not a file beside this map.").arg(file)};
    const QString path = QFileInfo(doc.FileName()).absoluteDir().filePath(file);
    if (!QFileInfo(path).isFile()) return {{}, QStringLiteral("%1 is not there beside this map.").arg(file)};
    return {path, {}};
}
} // namespace

void Twinviewform::OpenLevelAboveClick() { OpenLevel("Above"); }
void Twinviewform::OpenLevelBelowClick() { OpenLevel("Below"); }

void Twinviewform::OpenLevel(const char* field) {
    const TLevelLink link = LevelLink(app_->Document, field);
    if (link.Path.isEmpty()) {
        StatusBar1->showMessage(link.Reason);
        return;
    }
    if (AskSaveChanges()) OpenMapFile(link.Path);
}

void Twinviewform::UpdateLevelItems() {
    for (auto [item, field] : {std::pair{OpenLevelAbove1, "Above"}, std::pair{OpenLevelBelow1, "Below"}}) {
        const TLevelLink link = LevelLink(app_->Document, field);
        item->setEnabled(!link.Path.isEmpty());
        item->setToolTip(link.Path.isEmpty() ? link.Reason : QFileInfo(link.Path).fileName());
    }
}

void Twinviewform::KeyChanged() {
    UpdateLevelItems();
    labelIndex_ = IndexLabels(app_->Document.CurrentKey);
    if (pickedLabel_ && !app_->Document.CurrentKey.Find(pickedLabel_)) pickedLabel_ = 0;
    KeyDock1->Pick(pickedLabel_);
}

} // namespace qm
