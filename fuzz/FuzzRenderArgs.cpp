// quillmarch-render's command line from any bytes (arguments split at NUL): the
// parser must answer, and whatever it accepts must lie within the ranges the
// renderer relies on.
#include <string>
#include <vector>

#include "fuzz/FuzzSupport.h"
#include "render/RenderArgs.h"

using namespace qm;
using namespace qmfuzz;

namespace {
bool InsideMapRect(const TGridRect& g) {
    return g.Left >= 0 && g.Top >= 0 && g.Left <= g.Right && g.Top <= g.Bottom && g.Right < MapSize &&
           g.Bottom < MapSize;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::vector<std::string> args(1);
    for (size_t i = 0; i < size; ++i) {
        if (data[i] == 0) args.emplace_back();
        else args.back().push_back(char(data[i]));
    }
    if (size == 0) args.clear();

    const TRenderParse r = ParseRenderArgs(args);
    const int code = r.ExitCode();
    Check(code >= 0 && code <= 2, "an exit status outside 0..2");
    if (r.Kind == TRenderParse::BadValue || r.Kind == TRenderParse::Usage)
        Check(!r.Message.empty(), "a refused command line without a message");
    if (r.Kind != TRenderParse::Run) return 0;

    const TRenderArgs& a = r.Args;
    Check(!a.MapPath.empty() && !a.OutputPath.empty(), "accepted without MAP or OUTPUT");
    Check(!a.Zoom || (*a.Zoom >= 1 && *a.Zoom <= 256), "accepted a zoom outside 1..256");
    Check(!a.Region || InsideMapRect(*a.Region), "accepted a region outside the map");
    Check(a.Print.WholeMap || InsideMapRect(a.PrintArea), "accepted an area outside the map");
    Check(a.Print.ScaleIndex >= 0 && a.Print.ScaleIndex <= 6, "accepted an unknown scale");
    for (int m : {a.Print.LeftMargin, a.Print.TopMargin, a.Print.RightMargin, a.Print.BottomMargin})
        Check(m >= 0 && m <= 3, "accepted an unknown margin");
    Check(a.Print.GridStyle >= 0 && a.Print.GridStyle <= 4, "accepted an unknown grid");
    Check(a.Resolution >= 72 && a.Resolution <= 2400, "accepted a resolution outside 72..2400");
    Check(a.FromPage >= 1 && a.FromPage <= a.ToPage && a.ToPage <= 999, "accepted a page range outside 1..999");
    return 0;
}
