// The tool-bar icon shows the tileset's tool image itself, and nothing for a number
// the tileset has no image for.
#include <QPixmap>
#include <gtest/gtest.h>

#include "tiles/ToolIcon.h"

namespace {

TEST(ToolIcon, ShowsTheToolImageOrNothing) {
    qm::TRenderedTileset ts;
    for (int i = 0; i < 23; ++i) {
        ts.ToolPalette[size_t(i)] = QImage(16, 16, QImage::Format_ARGB32);
        ts.ToolPalette[size_t(i)].fill(QColor(10 * i, 255 - 10 * i, 7));
    }
    // image 23 not rendered
    struct Case {
        int image;
        bool shown;
    } cases[] = {{0, true}, {16, true}, {22, true}, {23, false}, {24, false}, {-1, false}, {1000, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.image);
        const QIcon icon = qm::ToolIcon(ts, c.image);
        ASSERT_EQ(icon.isNull(), !c.shown);
        if (c.shown) {
            EXPECT_EQ(icon.pixmap(16, 16).toImage().convertToFormat(QImage::Format_ARGB32),
                      ts.ToolPalette[size_t(c.image)]);
        }
    }
}

} // namespace
