#pragma once
// "GeoSet Maplet Editor": picks one of the 54 maplets by position and section and
// paints its cells. It keeps no state of its own: everything lives in the GeoSet record.
#include <QDialog>
#include <QImage>

#include "geoset/GeoSet.h"

class QAction;
class QComboBox;
class QToolBar;
class QToolButton;
class QPainter;

namespace qm {

class TDrawGrid;

class TGeoEditForm : public QDialog {
    Q_OBJECT
public:
    // geoNew, geoOpen and geoSave belong to the main window; the form shows them as its
    // first tool buttons. The form listens to the document while it lives.
    TGeoEditForm(TGeoSetDocument& doc, QImage& cellBitmap, QAction* geoNew, QAction* geoOpen, QAction* geoSave,
                 QWidget* parent = nullptr);
    ~TGeoEditForm() override;

    QToolBar* ToolBar1 = nullptr;
    QToolButton* GeoLayerButton = nullptr;
    QComboBox* PositionBox = nullptr;
    QComboBox* SectionBox = nullptr;
    TDrawGrid* GeoSymbolGrid = nullptr;
    TDrawGrid* GeoGrid = nullptr;

    // The ToolPalette image the layer button shows: 16 auto, 14 upper, 15 lower.
    int LayerImage() const { return layerImage_; }

    // Selectors from the record's Position and Section, grid repainted.
    void SyncSelectors();
    // Tool bar icons from the rendered tileset's ToolPalette.
    void UpdateIcons();

    void FormShow();
    void PositionBoxChange(int index);
    void SectionBoxChange(int index);
    void GeoSymbolGridSelectCell(int col, int row);
    void GeoGridMouseUp();
    void GeoLayerButtonClick();
    void GeoSymbolGridDrawCell(QPainter& p, int col, int row, const QRect& rect, bool selected);
    void GeoGridDrawCell(QPainter& p, int col, int row, const QRect& rect, bool selected);

protected:
    void showEvent(QShowEvent* e) override;

private:
    TGeoSetDocument& doc_;
    int listener_ = -1;
    QImage& cellBitmap_;
    int layerImage_ = 16;
};

} // namespace qm
