#include "app/AboutBox.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

#include "tiles/AppIcon.h"
#include "tiles/Tileset.h"

namespace qm {

namespace {
// The program's icon; a few symbols of the built-in tileset when it has none.
QPixmap AboutPicture() {
    const QPixmap icon = AppIcon().pixmap(64, 64);
    if (!icon.isNull()) return icon;
    const QImage& sheet = DefaultTilesetPicture();
    const int tile = sheet.width() / 16;
    if (tile <= 0) return {};
    const int symbols[] = {1, 141, 157, 205};
    QImage art(tile * 2, tile * 2, QImage::Format_RGB32);
    art.fill(Qt::white);
    QPainter p(&art);
    for (int i = 0; i < 4; ++i) {
        const int s = symbols[i];
        p.drawImage(QRect((i % 2) * tile, (i / 2) * tile, tile, tile), sheet,
                    QRect((s % 16) * tile, (s / 16) * tile, tile, tile));
    }
    p.end();
    return QPixmap::fromImage(art.scaled(64, 64, Qt::KeepAspectRatio, Qt::SmoothTransformation));
}
} // namespace

TqmAboutBox::TqmAboutBox(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("qmAboutBox"));
    setWindowTitle(QStringLiteral("About"));
    setModal(true);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    ProgramIcon = new QLabel(this);
    ProgramIcon->setObjectName(QStringLiteral("ProgramIcon"));
    ProgramIcon->setPixmap(AboutPicture());
    ProgramIcon->setFrameShape(QFrame::Panel);
    ProgramIcon->setFrameShadow(QFrame::Sunken);

    ProductName = new QLabel(QStringLiteral("Quillmarch"), this);
    ProductName->setObjectName(QStringLiteral("ProductName"));
    QFont big = ProductName->font();
    big.setPointSizeF(big.pointSizeF() * 1.6);
    big.setBold(true);
    ProductName->setFont(big);
    Comments = new QLabel(QStringLiteral("Maps for tabletop role-playing and miniature games."), this);
    Comments->setObjectName(QStringLiteral("Comments"));

    Version = new QLabel(QStringLiteral("Version 1.0.2.0"), this);
    Version->setObjectName(QStringLiteral("Version"));

    OKButton = new QPushButton(QStringLiteral("OK"), this);
    OKButton->setObjectName(QStringLiteral("OKButton"));
    OKButton->setDefault(true);
    connect(OKButton, &QPushButton::clicked, this, &QDialog::accept);

    auto* top = new QHBoxLayout;
    top->addWidget(ProgramIcon);
    top->addSpacing(12);
    auto* texts = new QVBoxLayout;
    texts->setSpacing(4);
    texts->addWidget(ProductName);
    texts->addWidget(Comments);
    texts->addWidget(Version);
    top->addLayout(texts, 1);
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(16, 16, 16, 12);
    outer->setSpacing(14);
    outer->addLayout(top);
    outer->addWidget(OKButton, 0, Qt::AlignHCenter);
    setFixedSize(sizeHint().expandedTo(QSize(260, 0)));
}

} // namespace qm
