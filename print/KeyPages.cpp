#include "print/KeyPages.h"

#include <QCryptographicHash>
#include <QFileInfo>
#include <QPainter>
#include <algorithm>

#include "compose/KeyLabels.h"
#include "print/BattleMat.h"

namespace qm {

namespace {
constexpr int PictureCell = 120; // logical size the label picture is drawn at
constexpr int TitlePoints = 16, HeadingPoints = 12, TextPoints = 10;

int LineHeight(const TSpecialCanvas& s, int points) { return std::max(1, s.YRes * points * 5 / (72 * 4)); }

void SetFont(TSpecialCanvas& s, int points, bool bold) {
    s.Font().SetName(QStringLiteral("Arial"));
    s.Font().SetSize(points);
    s.Font().SetStyle(bold ? fsBold : 0);
}

// Greedy word wrap at printer resolution; a word wider than the line is cut where it must.
std::vector<QString> Wrap(TSpecialCanvas& s, const QString& paragraph, int width) {
    std::vector<QString> lines;
    QString line;
    for (const QString& word : paragraph.split(QLatin1Char(' '), Qt::KeepEmptyParts)) {
        const QString tried = line.isEmpty() ? word : line + QLatin1Char(' ') + word;
        if (line.isEmpty() || s.TextWidth(tried) <= width) {
            line = tried;
        } else {
            lines.push_back(line);
            line = word;
        }
        while (line.size() > 1 && s.TextWidth(line) > width) {
            int n = int(line.size()) - 1;
            while (n > 1 && s.TextWidth(line.left(n)) > width) --n;
            lines.push_back(line.left(n));
            line = line.mid(n);
        }
    }
    lines.push_back(line);
    return lines;
}
} // namespace

bool PrintsRoomNumbers(const TPrintSettings& s, const TMapRecord* printedMap, const TMapKey* key) {
    if (!key || key->Entries.empty()) return false;
    if (s.RoomNumbers == rnOn) return true;
    if (s.RoomNumbers == rnOff) return false;
    return printedMap && printedMap->ShowHidden != 0;
}

QPicture KeyLabelPicture(int number) {
    QPicture pic;
    {
        QPainter p(&pic);
        DrawKeyLabel(p, QRectF(0, 0, PictureCell, PictureCell), number);
    }
    pic.setBoundingRect(QRect(0, 0, PictureCell, PictureCell));
    return pic;
}

void DrawSheetLabels(TSpecialCanvas& s, const TMapKey& key, const TPageLayout& lay, const TSheetFrame& f, int pr,
                     int pc) {
    const int x0 = lay.X1 + (pc - 1) * lay.CPP, y0 = lay.Y1 + (pr - 1) * lay.RPP;
    const int x1 = std::min(lay.X2, x0 + lay.CPP + f.ExtraCols - 1);
    const int y1 = std::min(lay.Y2, y0 + lay.RPP + f.ExtraRows - 1);
    for (const TKeyEntry& e : key.Entries) {
        if (e.X < x0 || e.X > x1 || e.Y < y0 || e.Y > y1) continue;
        const QRect cell(lay.LM + (e.X - x0) * lay.CW, lay.TM + lay.TH + (e.Y - y0) * lay.CH, lay.CW, lay.CH);
        s.StretchDraw(cell, KeyLabelPicture(e.Number));
    }
}

TKeyPages LayOutKeyPages(TSpecialCanvas& s, const TMapKey& key, const TPrintSettings& set, const QString& mapFileName) {
    TKeyPages out;
    const int left = s.ScaleX(MarginItemInches(set.LeftMargin));
    const int top = s.ScaleY(MarginItemInches(set.TopMargin));
    const int right = s.PageWidth - s.ScaleX(MarginItemInches(set.RightMargin));
    const int bottom = s.PageHeight - s.ScaleY(MarginItemInches(set.BottomMargin));
    const int width = std::max(1, right - left), indent = s.ScaleX(0.3f);
    const int entryGap = s.ScaleY(0.12f), paragraphGap = s.ScaleY(0.06f);
    int y = top;
    out.Pages.emplace_back();
    const auto room = [&](int h) {
        // A page always takes at least one line, so a tiny page still ends.
        if (y + h > bottom && y > top) {
            out.Pages.emplace_back();
            y = top;
        }
    };
    const auto put = [&](int x, const QString& text, int points, bool bold) {
        const int h = LineHeight(s, points);
        room(h);
        out.Pages.back().push_back({x, y, text, points, bold});
        y += h;
    };
    const QString name = mapFileName.isEmpty() ? QString() : QFileInfo(mapFileName).fileName();
    SetFont(s, TitlePoints, true);
    put(left, name.isEmpty() ? QStringLiteral("Map Key") : QStringLiteral("Map Key - ") + name, TitlePoints, true);
    y += entryGap;
    for (const TKeyEntry& e : key.Entries) {
        const QString heading = QString::fromStdString(KeyEntryHeading(e));
        SetFont(s, TextPoints, false);
        std::vector<std::vector<QString>> paragraphs;
        if (!e.Text.empty())
            for (const QString& p : QString::fromStdString(e.Text).split(QLatin1Char('\n')))
                paragraphs.push_back(Wrap(s, p, width - indent));
        // The heading stays with the first line of its text.
        room(LineHeight(s, HeadingPoints) + (paragraphs.empty() ? 0 : LineHeight(s, TextPoints)));
        SetFont(s, HeadingPoints, true);
        for (const QString& line : Wrap(s, heading, width)) put(left, line, HeadingPoints, true);
        for (size_t k = 0; k < paragraphs.size(); ++k) {
            if (paragraphs[k].size() == 1 && paragraphs[k][0].trimmed().isEmpty()) {
                y += paragraphGap;
                continue;
            }
            for (const QString& line : paragraphs[k]) put(left + indent, line, TextPoints, false);
        }
        y += entryGap;
    }
    return out;
}

const TKeyPages& TKeyPagesCache::Get(TSpecialCanvas& s, const TMapKey& key, const TPrintSettings& set,
                                     const QString& mapFileName) {
    QCryptographicHash h(QCryptographicHash::Sha1);
    h.addData(QByteArray::fromStdString(KeyFileText(key)));
    h.addData(mapFileName.toUtf8());
    const QString made = QString::fromLatin1(h.result().toHex()) + QStringLiteral("/%1x%2/%3x%4/%5%6%7%8")
                                                                       .arg(s.PageWidth)
                                                                       .arg(s.PageHeight)
                                                                       .arg(s.XRes)
                                                                       .arg(s.YRes)
                                                                       .arg(set.LeftMargin)
                                                                       .arg(set.TopMargin)
                                                                       .arg(set.RightMargin)
                                                                       .arg(set.BottomMargin);
    if (made != made_) {
        pages_ = LayOutKeyPages(s, key, set, mapFileName);
        made_ = made;
    }
    return pages_;
}

void PrintKeyPage(TSpecialCanvas& s, const TKeyPages& pages, int index) {
    if (index < 0 || index >= pages.Count()) return;
    for (const TKeyLine& line : pages.Pages[size_t(index)]) {
        SetFont(s, line.Points, line.Bold);
        s.TextOut(line.X, line.Y, line.Text);
    }
    s.Font().SetStyle(0);
}

} // namespace qm
