// The generator draws the same bytes on every run: a fresh run matches what was embedded.
#include <QFile>
#include <QProcess>
#include <gtest/gtest.h>

#include "tests/TestSupport.h"
#include "tiles/Tileset.h"

namespace {

QByteArray Slurp(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

TEST(TilesetGenerator, SecondRunGivesTheSameFiles) {
    qm::DefaultTilesetPicture(); // registers the embedded files
    qmtest::TempDir dir;
    const QString art = QString::fromStdString(dir.File("art")), program = QString::fromStdString(dir.File("program"));
    QProcess gen;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("ASAN_OPTIONS", "detect_leaks=0");
    gen.setProcessEnvironment(env);
    gen.start(QM_GEN_TILESET, {art, program});
    ASSERT_TRUE(gen.waitForFinished(120000));
    ASSERT_EQ(gen.exitCode(), 0) << gen.readAllStandardError().toStdString();

    const std::pair<QString, QString> same[] = {
        {art + "/default.bmp", ":/tiles/default.bmp"},
        {art + "/quillmarch-32.png", ":/tiles/quillmarch-32.png"},
        {program + "/parchment.bmp", QString(QM_PROGRAM_DIR) + "/parchment.bmp"},
    };
    for (const auto& [fresh, built] : same) {
        const QByteArray a = Slurp(fresh), b = Slurp(built);
        EXPECT_FALSE(a.isEmpty()) << fresh.toStdString();
        EXPECT_TRUE(a == b) << fresh.toStdString() << " differs from " << built.toStdString();
    }
    // the 8-bit file is laid out as the program's BMP reader and others expect
    const QByteArray bmp = Slurp(art + "/default.bmp");
    ASSERT_GE(bmp.size(), 54);
    auto le32 = [&](int at) {
        return uint32_t(uint8_t(bmp[at])) | uint32_t(uint8_t(bmp[at + 1])) << 8 | uint32_t(uint8_t(bmp[at + 2])) << 16 |
               uint32_t(uint8_t(bmp[at + 3])) << 24;
    };
    EXPECT_EQ(le32(14), 40u);                   // BITMAPINFOHEADER
    EXPECT_EQ(uint8_t(bmp[28]), 8);             // bits per pixel
    EXPECT_EQ(le32(46), 255u);                  // colours used
    EXPECT_EQ(le32(10), 14u + 40u + 255u * 4u); // pixels follow the palette
    EXPECT_EQ(uint32_t(bmp.size()), le32(10) + 768u * 784u);
}

} // namespace
