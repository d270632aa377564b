#pragma once
// "Generate Map": style, seed, area, density and the four switches, with a preview picture
// of the map as it will be that follows every change of the controls.
#include <QDialog>
#include <QImage>
#include <atomic>
#include <functional>
#include <future>
#include <memory>

#include "compose/CellCache.h"

#include "generate/GenStack.h"
#include "tiles/Tileset.h"

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTabBar;

namespace qm {

class TGenerateMapDialog : public QDialog {
    Q_OBJECT
public:
    // `map` is the map the result will go into (the preview shows the area drawn into a
    // copy of it); `selection` is offered as the area when it covers more than one cell.
    TGenerateMapDialog(QWidget* parent, const TMapRecord& map, const TRenderedTileset& ts, const TGenPalette& palette,
                       const TGridRect& selection, const TGenerateOptions& start);
    ~TGenerateMapDialog() override;
    TGenerateOptions Options() const;
    // The map the preview shows: what OK will make of the current map.
    const TMapRecord& PreviewMap() const { return preview_; }
    // The key of the map the preview shows (its places numbered from the entrance outward).
    const TMapKey& GeneratedKey() const { return key_; }
    // Levels chosen (1..5; dungeon and caves only), and the stack made when more than one.
    int Levels() const;
    const std::vector<TGenLevel>& GeneratedLevels() const { return stack_; }

    QComboBox* StyleCombo = nullptr;
    QLineEdit* SeedEdit = nullptr;
    QPushButton* NewSeedButton = nullptr;
    QComboBox* DensityCombo = nullptr;
    QRadioButton* WholeMapRadio = nullptr;
    QRadioButton* SelectionRadio = nullptr;
    QCheckBox* DoorsCheck = nullptr;
    QCheckBox* SecretDoorsCheck = nullptr;
    QCheckBox* LightsCheck = nullptr;
    QCheckBox* DressingCheck = nullptr;
    QComboBox* LevelsCombo = nullptr;
    QComboBox* BelowCombo = nullptr; // the levels below: the first's style, dungeon or caves
    QLabel* Preview = nullptr;
    QTabBar* LevelTabs = nullptr; // under the preview: which level it shows
    QLabel* Notes = nullptr;
    QPushButton* OkButton = nullptr;

signals:
    // The preview picture now shows the map of the current controls.
    void PreviewShown();

private:
    void Update();
    TGenerateResult GenerateLevels();
    void ShowLevel(int index);
    // The picture is drawn off the window's thread, one at a time; one that finishes after
    // the controls changed again is dropped for a picture of the newer map.
    void StartPicture();
    void PictureDone(unsigned ticket, const QImage& picture);
    const TMapRecord& map_;
    const TRenderedTileset& ts_;
    const TGenPalette& palette_;
    TGridRect selection_;
    TMapRecord preview_{};
    TMapKey key_;
    std::vector<TGenLevel> stack_;
    unsigned ticket_ = 0; // counts the maps previewed; the picture drawn carries its ticket
    std::shared_ptr<std::atomic<unsigned>> latest_ = std::make_shared<std::atomic<unsigned>>(0);
    std::future<void> drawing_;
    TCellCache cells_; // used by the one picture being drawn
};

// The whole map drawn at `px` pixels a cell, as the map grid composes its cells. With a
// cache, cells already drawn at this size are reused; `stop` returning true abandons the
// picture (a null image).
QImage MapPreviewPicture(const TMapRecord& map, const TRenderedTileset& ts, int px, TCellCache* cache = nullptr,
                         const std::function<bool()>& stop = {});

// A seed drawn from the system's entropy, for "New seed" and the dialog's first showing.
std::uint32_t FreshGenerateSeed();

} // namespace qm
