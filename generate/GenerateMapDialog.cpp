#include "generate/GenerateMapDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QTabBar>
#include <QVBoxLayout>
#include <algorithm>
#include <random>

#include "compose/Compose.h"

namespace qm {

namespace {
constexpr int PreviewCellPixels = 6;
} // namespace

QImage MapPreviewPicture(const TMapRecord& map, const TRenderedTileset& ts, int px, TCellCache* cache,
                         const std::function<bool()>& stop) {
    QImage pic(MapSize * px, MapSize * px, QImage::Format_RGB32);
    pic.fill(Qt::white);
    if (!ts.IsRendered()) return pic;
    QImage cell;
    QPainter p(&pic);
    for (int c = 0; c < MapSize; ++c) {
        if (stop && stop()) return QImage();
        for (int r = 0; r < MapSize; ++r) {
            const QRect target(c * px, r * px, px, px);
            if (cache) {
                // The cache holds exactly what DrawScaledCell would draw.
                p.drawImage(target.topLeft(), cache->MapCell(map, ts, c, r, target.size(), cell));
            } else {
                ComposeMapCell(cell, map, ts, c, r);
                DrawScaledCell(p, target, cell);
            }
        }
    }
    return pic;
}

std::uint32_t FreshGenerateSeed() {
    std::random_device device;
    return std::uint32_t(device());
}

TGenerateMapDialog::TGenerateMapDialog(QWidget* parent, const TMapRecord& map, const TRenderedTileset& ts,
                                       const TGenPalette& palette, const TGridRect& selection,
                                       const TGenerateOptions& start)
    : QDialog(parent), map_(map), ts_(ts), palette_(palette), selection_(selection) {
    setObjectName(QStringLiteral("GenerateMapDialog"));
    setWindowTitle(QStringLiteral("Generate Map"));

    StyleCombo = new QComboBox(this);
    StyleCombo->setObjectName(QStringLiteral("StyleCombo"));
    for (TGenStyle s : AllGenStyles) StyleCombo->addItem(QString::fromLatin1(GenStyleName(s)));
    StyleCombo->setCurrentIndex(int(start.Style));

    SeedEdit = new QLineEdit(QString::number(start.Seed), this);
    SeedEdit->setObjectName(QStringLiteral("SeedEdit"));
    SeedEdit->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]{1,10}")), SeedEdit));
    SeedEdit->setToolTip(QStringLiteral("0 to 4294967295; the same seed gives the same map"));
    NewSeedButton = new QPushButton(QStringLiteral("New seed"), this);
    NewSeedButton->setObjectName(QStringLiteral("NewSeedButton"));
    auto* seedRow = new QHBoxLayout;
    seedRow->addWidget(SeedEdit, 1);
    seedRow->addWidget(NewSeedButton);

    DensityCombo = new QComboBox(this);
    DensityCombo->setObjectName(QStringLiteral("DensityCombo"));
    for (int d = 0; d < 3; ++d) DensityCombo->addItem(QString::fromLatin1(GenDensityName(TGenDensity(d))));
    DensityCombo->setCurrentIndex(int(start.Density));

    WholeMapRadio = new QRadioButton(QStringLiteral("Whole map"), this);
    WholeMapRadio->setObjectName(QStringLiteral("WholeMapRadio"));
    SelectionRadio = new QRadioButton(QStringLiteral("Selection"), this);
    SelectionRadio->setObjectName(QStringLiteral("SelectionRadio"));
    // A single selected cell is the cursor, not an area.
    const bool areaOffered = selection.Width() >= MinGenerateSide && selection.Height() >= MinGenerateSide;
    SelectionRadio->setEnabled(areaOffered);
    SelectionRadio->setToolTip(
        QStringLiteral("Select at least %1 x %1 cells to generate into them only").arg(MinGenerateSide));
    const bool startWhole = start.Area == TGridRect{0, 0, MapSize - 1, MapSize - 1} || !areaOffered;
    (startWhole ? WholeMapRadio : SelectionRadio)->setChecked(true);
    auto* areaRow = new QHBoxLayout;
    areaRow->addWidget(WholeMapRadio);
    areaRow->addWidget(SelectionRadio);

    const auto check = [this](const char* name, const QString& text, bool on) {
        auto* box = new QCheckBox(text, this);
        box->setObjectName(QString::fromLatin1(name));
        box->setChecked(on);
        return box;
    };
    DoorsCheck = check("DoorsCheck", QStringLiteral("Doors"), start.Switches.Doors);
    SecretDoorsCheck = check("SecretDoorsCheck", QStringLiteral("Secret doors"), start.Switches.SecretDoors);
    LightsCheck = check("LightsCheck", QStringLiteral("Lights"), start.Switches.Lights);
    DressingCheck = check("DressingCheck", QStringLiteral("Dressing"), start.Switches.Dressing);
    auto* switches = new QHBoxLayout;
    for (QCheckBox* b : {DoorsCheck, SecretDoorsCheck, LightsCheck, DressingCheck}) switches->addWidget(b);

    LevelsCombo = new QComboBox(this);
    LevelsCombo->setObjectName(QStringLiteral("LevelsCombo"));
    for (int n = 1; n <= MaxGenLevels; ++n) LevelsCombo->addItem(QString::number(n));
    LevelsCombo->setToolTip(
        QStringLiteral("Dungeon and caves: levels linked by stairs, saved as NAME-1.map, NAME-2.map..."));
    BelowCombo = new QComboBox(this);
    BelowCombo->setObjectName(QStringLiteral("BelowCombo"));
    BelowCombo->addItems({QStringLiteral("as the first"), QStringLiteral("dungeon"), QStringLiteral("caves")});
    BelowCombo->setToolTip(QStringLiteral("The style of the levels below the first (caves under a dungeon ...)"));
    auto* levelsRow = new QHBoxLayout;
    levelsRow->addWidget(LevelsCombo);
    levelsRow->addWidget(new QLabel(QStringLiteral("below:"), this));
    levelsRow->addWidget(BelowCombo, 1);

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Style:"), StyleCombo);
    form->addRow(QStringLiteral("Seed:"), seedRow);
    form->addRow(QStringLiteral("Density:"), DensityCombo);
    form->addRow(QStringLiteral("Area:"), areaRow);
    form->addRow(switches);
    form->addRow(QStringLiteral("Levels:"), levelsRow);

    Preview = new QLabel(this);
    Preview->setObjectName(QStringLiteral("Preview"));
    Preview->setFixedSize(MapSize * PreviewCellPixels, MapSize * PreviewCellPixels);
    LevelTabs = new QTabBar(this);
    LevelTabs->setObjectName(QStringLiteral("LevelTabs"));
    LevelTabs->setVisible(false);
    Notes = new QLabel(this);
    Notes->setObjectName(QStringLiteral("Notes"));
    Notes->setWordWrap(true);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->setObjectName(QStringLiteral("GenerateButtons"));
    OkButton = buttons->button(QDialogButtonBox::Ok);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* left = new QVBoxLayout;
    left->addLayout(form);
    left->addWidget(Notes);
    left->addStretch(1);
    auto* body = new QHBoxLayout;
    body->addLayout(left);
    auto* shown = new QVBoxLayout;
    shown->addWidget(Preview);
    shown->addWidget(LevelTabs);
    shown->addStretch(1);
    body->addLayout(shown);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(body);
    layout->addWidget(buttons);

    connect(NewSeedButton, &QPushButton::clicked, this,
            [this] { SeedEdit->setText(QString::number(FreshGenerateSeed())); });
    connect(StyleCombo, &QComboBox::currentIndexChanged, this, [this] { Update(); });
    connect(DensityCombo, &QComboBox::currentIndexChanged, this, [this] { Update(); });
    connect(LevelsCombo, &QComboBox::currentIndexChanged, this, [this] { Update(); });
    connect(BelowCombo, &QComboBox::currentIndexChanged, this, [this] { Update(); });
    connect(LevelTabs, &QTabBar::currentChanged, this, [this](int index) { ShowLevel(index); });
    connect(SeedEdit, &QLineEdit::textChanged, this, [this] { Update(); });
    for (QRadioButton* b : {WholeMapRadio, SelectionRadio})
        connect(b, &QRadioButton::toggled, this, [this] { Update(); });
    for (QCheckBox* b : {DoorsCheck, SecretDoorsCheck, LightsCheck, DressingCheck})
        connect(b, &QCheckBox::toggled, this, [this] { Update(); });
    Update();
}

TGenerateMapDialog::~TGenerateMapDialog() {
    // The picture being drawn reads the tileset: it stops at its next column.
    latest_->store(0);
    if (drawing_.valid()) drawing_.wait();
}

TGenerateOptions TGenerateMapDialog::Options() const {
    TGenerateOptions o;
    o.Style = TGenStyle(StyleCombo->currentIndex());
    o.Seed = std::uint32_t(SeedEdit->text().toULongLong());
    o.Density = TGenDensity(DensityCombo->currentIndex());
    if (SelectionRadio->isChecked()) o.Area = selection_;
    o.Switches = {DoorsCheck->isChecked(), SecretDoorsCheck->isChecked(), LightsCheck->isChecked(),
                  DressingCheck->isChecked()};
    return o;
}

void TGenerateMapDialog::Update() {
    // A seed beyond 32 bits cannot be used: OK waits for one that can.
    bool ok = false;
    const qulonglong seed = SeedEdit->text().toULongLong(&ok);
    ok = ok && seed <= 4294967295ull;
    OkButton->setEnabled(ok);
    if (!ok) {
        Notes->setText(QStringLiteral("The seed is a whole number from 0 to 4294967295."));
        return;
    }
    const TGenStyle style = TGenStyle(StyleCombo->currentIndex());
    LevelsCombo->setEnabled(style == TGenStyle::Dungeon || style == TGenStyle::Caves);
    BelowCombo->setEnabled(Levels() > 1);
    preview_ = map_;
    const TGenerateResult result = Levels() > 1 ? GenerateLevels() : GenerateMap(preview_, Options(), palette_);
    if (Levels() == 1) {
        stack_.clear();
        key_ = result.Key;
        LevelTabs->setVisible(false);
    }
    QString notes;
    for (const std::string& line : result.LeftOut)
        notes += QStringLiteral("Left out: %1\n").arg(QString::fromStdString(line));
    Notes->setText(notes.trimmed());
    latest_->store(++ticket_);
    // A picture still being drawn is of an older map: when it ends, the newest is drawn.
    if (!drawing_.valid()) StartPicture();
}

void TGenerateMapDialog::StartPicture() {
    const unsigned ticket = ticket_;
    auto map = std::make_shared<const TMapRecord>(preview_);
    drawing_ = std::async(std::launch::async, [this, ticket, map, latest = latest_] {
        QImage picture;
        try {
            picture = MapPreviewPicture(*map, ts_, PreviewCellPixels, &cells_,
                                        [&] { return latest->load() != ticket; });
        } catch (const std::exception&) {
            // No memory for the picture: the preview keeps the one it has.
        }
        QMetaObject::invokeMethod(
            this, [this, ticket, picture = std::move(picture)] { PictureDone(ticket, picture); }, Qt::QueuedConnection);
    });
}

void TGenerateMapDialog::PictureDone(unsigned ticket, const QImage& picture) {
    drawing_.get();
    if (ticket != ticket_) {
        StartPicture();
        return;
    }
    if (!picture.isNull()) Preview->setPixmap(QPixmap::fromImage(picture));
    emit PreviewShown();
}

int TGenerateMapDialog::Levels() const {
    const TGenStyle style = TGenStyle(StyleCombo->currentIndex());
    const bool stacks = style == TGenStyle::Dungeon || style == TGenStyle::Caves;
    return stacks ? LevelsCombo->currentIndex() + 1 : 1;
}

// The stack, its levels in the switch under the preview, the one shown kept where it was.
TGenerateResult TGenerateMapDialog::GenerateLevels() {
    const int below = BelowCombo->currentIndex();
    stack_ = GenerateStack(map_, Options(), Levels(),
                           below == 1   ? std::optional(TGenStyle::Dungeon)
                           : below == 2 ? std::optional(TGenStyle::Caves)
                                        : std::nullopt,
                           palette_);
    const QSignalBlocker quiet(LevelTabs);
    const int shown = std::clamp(LevelTabs->currentIndex(), 0, int(stack_.size()) - 1);
    while (LevelTabs->count() > int(stack_.size())) LevelTabs->removeTab(LevelTabs->count() - 1);
    while (LevelTabs->count() < int(stack_.size()))
        LevelTabs->addTab(QStringLiteral("Level %1").arg(LevelTabs->count() + 1));
    LevelTabs->setCurrentIndex(shown);
    LevelTabs->setVisible(true);
    preview_ = stack_[size_t(shown)].Map;
    key_ = stack_[size_t(shown)].Result.Key;
    TGenerateResult result = stack_[size_t(shown)].Result;
    for (size_t k = 0; k < stack_.size(); ++k)
        if (int(k) != shown)
            for (const std::string& line : stack_[k].Result.LeftOut)
                if (std::find(result.LeftOut.begin(), result.LeftOut.end(), line) == result.LeftOut.end())
                    result.LeftOut.push_back(line);
    return result;
}

void TGenerateMapDialog::ShowLevel(int index) {
    if (index < 0 || index >= int(stack_.size())) return;
    preview_ = stack_[size_t(index)].Map;
    key_ = stack_[size_t(index)].Result.Key;
    // As any change: a picture still being drawn is of another level and gives way.
    latest_->store(++ticket_);
    if (!drawing_.valid()) StartPicture();
}

} // namespace qm
