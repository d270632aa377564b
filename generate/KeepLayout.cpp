// The keep's outline: its wards, where they meet, and the questions asked of it.
#include <algorithm>

#include "generate/KeepLayout.h"

namespace qm {

namespace {

// An L: the whole width on one side of the cut corner, a narrower part beside it; the two
// wards meet on a line with no wall.
void LWards(TGenRandom& rng, const TGridRect& box, TKeepLayout& k) {
    const int L0 = box.Left, T0 = box.Top, R0 = box.Right, B0 = box.Bottom, W = box.Width(), H = box.Height();
    const bool cutTop = rng.Chance(50), cutRight = rng.Chance(50);
    const int nw = rng.Range(std::max(14, W * 3 / 10), W / 2), nh = rng.Range(std::max(13, H * 3 / 10), H / 2);
    const int line = cutTop ? T0 + nh : B0 - nh;
    k.Wards.push_back(cutTop ? TKeepWard{L0, line, R0, B0} : TKeepWard{L0, T0, R0, line});
    const int bl = cutRight ? L0 : L0 + nw, br = cutRight ? R0 - nw : R0;
    k.Wards.push_back(cutTop ? TKeepWard{bl, T0, br, line} : TKeepWard{bl, line, br, B0});
    k.Shared = k.SharedOpen = true;
    k.SharedNS = false;
    k.SharedLine = line;
    k.SharedLo = bl;
    k.SharedHi = br;
}

// An outer bailey with the gate, and beside it an inner ward behind a cross wall; one of the
// two may be shorter than the other, set anywhere along it.
void BaileyWards(TGenRandom& rng, const TGridRect& box, TKeepLayout& k) {
    const int L0 = box.Left, T0 = box.Top, R0 = box.Right, B0 = box.Bottom, W = box.Width(), H = box.Height();
    const bool splitX = W >= H;
    const int len = splitX ? W : H, span = splitX ? H : W;
    const int bailey = rng.Range(len * 2 / 5, len * 11 / 20);
    const bool baileyFirst = rng.Chance(50), baileyShort = rng.Chance(50), full = rng.Chance(35);
    const int shortSpan = full ? span : rng.Range(std::max(22, span * 3 / 5), span);
    const int offset = rng.Range(0, span - shortSpan);
    const int lo0 = splitX ? T0 : L0, first = splitX ? L0 : T0, last = splitX ? R0 : B0;
    const int cut = baileyFirst ? first + bailey : last - bailey;
    TKeepWard b, w;
    const auto make = [&](int a0, int a1, int s0, int s1) {
        return splitX ? TKeepWard{a0, s0, a1, s1} : TKeepWard{s0, a0, s1, a1};
    };
    const int bs0 = baileyShort ? lo0 + offset : lo0, bs1 = baileyShort ? lo0 + offset + shortSpan - 1 : lo0 + span - 1;
    const int ws0 = baileyShort ? lo0 : lo0 + offset, ws1 = baileyShort ? lo0 + span - 1 : lo0 + offset + shortSpan - 1;
    b = baileyFirst ? make(first, cut, bs0, bs1) : make(cut, last, bs0, bs1);
    w = baileyFirst ? make(cut, last, ws0, ws1) : make(first, cut, ws0, ws1);
    k.Wards = {b, w};
    k.Shared = true;
    k.SharedOpen = false;
    k.SharedNS = splitX;
    k.SharedLine = cut;
    k.SharedLo = std::max(bs0, ws0);
    k.SharedHi = std::min(bs1, ws1);
}

} // namespace

bool ChooseKeepLayout(const TGridRect& in, TGenRandom& rng, bool small, TKeepLayout& k) {
    k.Moat = !small && rng.Chance(38);
    k.MoatWidth = k.Moat && rng.Chance(50) ? 2 : 1;
    const int m = small ? 4 : (k.Moat ? 12 : 6);
    const int availW = in.Width() - 2 * m, availH = in.Height() - 2 * m;
    if (availW < 15 || availH < 15) return false;
    // Never so large that nothing fits round it: a moat wants its hamlet too.
    const int maxSide = k.Moat ? 42 : 52;
    const int minSide = small ? std::max(15, std::min(availW, availH) * 2 / 3) : 28;
    // 0 one enclosure, 1 an L, 2 an outer bailey and an inner ward.
    int plan = small ? 0 : rng.Below(3);
    int W = rng.Range(std::min(minSide, availW), std::min(availW, maxSide)),
        H = rng.Range(std::min(minSide, availH), std::min(availH, maxSide));
    if (plan != 0 && std::max(W, H) < 40) {
        if (std::max(availW, availH) < 40) plan = 0;
        else if (availW >= availH) W = rng.Range(40, availW);
        else H = rng.Range(40, availH);
    }
    if (plan == 1 && std::min(W, H) < 32) {
        if (W < 32) W = std::min(availW, 32);
        if (H < 32) H = std::min(availH, 32);
        if (std::min(W, H) < 32) plan = 0;
    }
    const int L0 = in.Left + m + rng.Range(0, availW - W), T0 = in.Top + m + rng.Range(0, availH - H);
    const int R0 = L0 + W - 1, B0 = T0 + H - 1;
    k.Wards.clear();
    if (plan == 0) {
        k.Wards.push_back({L0, T0, R0, B0});
    } else if (plan == 1) {
        LWards(rng, {L0, T0, R0, B0}, k);
    } else {
        BaileyWards(rng, {L0, T0, R0, B0}, k);
    }
    return true;
}

int TKeepLayout::Distance(int c, int r) const {
    int best = 1 << 20;
    for (const TKeepWard& w : Wards) {
        const int dx = c < w.L ? w.L - c : (c > w.R ? c - w.R : 0), dy = r < w.T ? w.T - r : (r > w.B ? r - w.B : 0);
        best = std::min(best, std::max(dx, dy));
    }
    return best;
}

bool TKeepLayout::InYard(int c, int r) const {
    for (const TKeepWard& w : Wards)
        if (w.Inside(c, r)) return true;
    return Shared && SharedOpen &&
           (SharedNS ? c == SharedLine && r > SharedLo && r < SharedHi
                     : r == SharedLine && c > SharedLo && c < SharedHi);
}

bool TKeepLayout::SideShared(const TKeepWard& w, int side) const {
    return Shared && (side == 1 || side == 3) == SharedNS && w.Line(side) == SharedLine;
}

bool TKeepLayout::OnRoad(int c, int r) const {
    return c >= 0 && r >= 0 && c < MapSize && r < MapSize && !Road.empty() && Road[r * MapSize + c];
}

} // namespace qm
