// The renderer's command line: what each option becomes and which mistakes are usage
// errors (2) and which bad values (1).
#include <gtest/gtest.h>

#include <functional>
#include <random>

#include "render/RenderArgs.h"

using namespace qm;

namespace {
TRenderParse Parse(std::vector<std::string> a) { return ParseRenderArgs(a); }
} // namespace

TEST(RenderArgs, Defaults) {
    auto p = Parse({"m.map", "out.png"});
    ASSERT_EQ(p.Kind, TRenderParse::Run) << p.Message;
    EXPECT_EQ(p.Args.Job, TRenderJob::Picture);
    EXPECT_EQ(p.Args.PictureFormat, TPictureFormat::Png);
    EXPECT_FALSE(p.Args.Zoom);
    EXPECT_FALSE(p.Args.Region);
    EXPECT_FALSE(p.Args.ShowHidden);
    EXPECT_TRUE(p.Args.TilesetPath.empty());
    EXPECT_FALSE(p.Args.AcceptAnySize);
    for (const char* out : {"out.png", "out.pdf", "out.tmx", "out.uvtt"})
        EXPECT_TRUE(Parse({"m.map", "--accept-any-size", out}).Args.AcceptAnySize) << out;

    auto d = Parse({"m.map", "out.pdf"});
    ASSERT_EQ(d.Kind, TRenderParse::Run) << d.Message;
    EXPECT_EQ(d.Args.Job, TRenderJob::Pdf);
    EXPECT_EQ(d.Args.Print.ScaleIndex, 0);
    for (int m : {d.Args.Print.LeftMargin, d.Args.Print.TopMargin, d.Args.Print.RightMargin, d.Args.Print.BottomMargin})
        EXPECT_EQ(m, 1);
    EXPECT_TRUE(d.Args.Print.PrintTitle);
    EXPECT_TRUE(d.Args.Print.WholeMap);
    EXPECT_EQ(d.Args.Print.GridStyle, 0);
    EXPECT_EQ(d.Args.Paper, TRenderPaper::Letter);
    EXPECT_EQ(d.Args.Resolution, 600);
    EXPECT_EQ(d.Args.FromPage, 1);
    EXPECT_EQ(d.Args.ToPage, 999);
}

TEST(RenderArgs, OutputKindFromExtension) {
    struct Case {
        const char* out;
        bool pdf;
        TPictureFormat format;
    } cases[] = {
        {"a.png", false, TPictureFormat::Png},  {"a.PNG", false, TPictureFormat::Png},
        {"a.jpg", false, TPictureFormat::Jpeg}, {"a.jpeg", false, TPictureFormat::Jpeg},
        {"a.bmp", false, TPictureFormat::Bmp},  {"dir.pdf/a.Bmp", false, TPictureFormat::Bmp},
        {"a.pdf", true, TPictureFormat::Png},   {"A.PDF", true, TPictureFormat::Png},
    };
    for (const auto& c : cases) {
        auto p = Parse({"m.map", c.out});
        ASSERT_EQ(p.Kind, TRenderParse::Run) << c.out << ": " << p.Message;
        EXPECT_EQ(p.Args.Job == TRenderJob::Pdf, c.pdf) << c.out;
        if (!c.pdf) {
            EXPECT_EQ(p.Args.PictureFormat, c.format) << c.out;
        }
    }
}

TEST(RenderArgs, PictureOptions) {
    auto p = Parse(
        {"--zoom", "256", "--region=1,2,72,3", "--show-hidden", "off", "--tileset", "t.bmp", "m.map", "o.jpg"});
    ASSERT_EQ(p.Kind, TRenderParse::Run) << p.Message;
    EXPECT_EQ(*p.Args.Zoom, 256);
    EXPECT_EQ(*p.Args.Region, (TGridRect{0, 1, 71, 2}));
    EXPECT_FALSE(*p.Args.ShowHidden);
    EXPECT_EQ(p.Args.TilesetPath, "t.bmp");
    EXPECT_EQ(*Parse({"m.map", "o.png", "--zoom", "1"}).Args.Zoom, 1); // options may follow operands
    EXPECT_EQ(*Parse({"m.map", "o.png", "--show-hidden", "on"}).Args.ShowHidden, true);
    EXPECT_EQ(*Parse({"m.map", "o.png", "--region", "7,7,7,7"}).Args.Region, (TGridRect{6, 6, 6, 6}));
}

TEST(RenderArgs, PdfOptions) {
    struct Case {
        std::vector<std::string> opts;
        std::function<void(const TRenderArgs&)> check;
    } cases[] = {
        {{"--scale", "fit"}, [](const TRenderArgs& a) { EXPECT_EQ(a.Print.ScaleIndex, 0); }},
        {{"--scale", "0.25"}, [](const TRenderArgs& a) { EXPECT_EQ(a.Print.ScaleIndex, 1); }},
        {{"--scale", "1.00"}, [](const TRenderArgs& a) { EXPECT_EQ(a.Print.ScaleIndex, 4); }},
        {{"--scale", "1"}, [](const TRenderArgs& a) { EXPECT_EQ(a.Print.ScaleIndex, 4); }},
        {{"--scale", "1.5"}, [](const TRenderArgs& a) { EXPECT_EQ(a.Print.ScaleIndex, 6); }},
        {{"--margins", "0.25,1.50,1.00,0.5"},
         [](const TRenderArgs& a) {
             EXPECT_EQ(a.Print.LeftMargin, 0);
             EXPECT_EQ(a.Print.TopMargin, 3);
             EXPECT_EQ(a.Print.RightMargin, 2);
             EXPECT_EQ(a.Print.BottomMargin, 1);
         }},
        {{"--title", "off"}, [](const TRenderArgs& a) { EXPECT_FALSE(a.Print.PrintTitle); }},
        {{"--area", "map"}, [](const TRenderArgs& a) { EXPECT_TRUE(a.Print.WholeMap); }},
        {{"--area", "3,4,5,6"},
         [](const TRenderArgs& a) {
             EXPECT_FALSE(a.Print.WholeMap);
             EXPECT_EQ(a.PrintArea, (TGridRect{2, 3, 4, 5}));
         }},
        {{"--grid", "overlay"}, [](const TRenderArgs& a) { EXPECT_EQ(a.Print.GridStyle, 4); }},
        {{"--grid", "hexes"}, [](const TRenderArgs& a) { EXPECT_EQ(a.Print.GridStyle, 2); }},
        {{"--paper", "a4"}, [](const TRenderArgs& a) { EXPECT_EQ(a.Paper, TRenderPaper::A4); }},
        {{"--resolution", "300"}, [](const TRenderArgs& a) { EXPECT_EQ(a.Resolution, 300); }},
        {{"--pages", "12-12"},
         [](const TRenderArgs& a) {
             EXPECT_EQ(a.FromPage, 12);
             EXPECT_EQ(a.ToPage, 12);
         }},
    };
    for (const auto& c : cases) {
        std::vector<std::string> a = c.opts;
        a.push_back("m.map");
        a.push_back("o.pdf");
        auto p = ParseRenderArgs(a);
        ASSERT_EQ(p.Kind, TRenderParse::Run) << c.opts[0] << " " << c.opts[1] << ": " << p.Message;
        c.check(p.Args);
    }
}

TEST(RenderArgs, MistakesAndTheirKind) {
    using K = TRenderParse::TKind;
    struct Case {
        std::vector<std::string> args;
        K kind;
        const char* message;
    } cases[] = {
        {{}, K::Usage, "expected MAP and OUTPUT"},
        {{"m.map"}, K::Usage, "expected MAP and OUTPUT"},
        {{"m.map", "o.png", "x"}, K::Usage, "unexpected argument x"},
        {{"m.map", "o.gif"},
         K::Usage,
         "OUTPUT must end in .png, .jpg, .jpeg, .bmp, .pdf, .tmx, .dd2vtt, .uvtt, .df2vtt or .json: o.gif"},
        {{"m.map", "o"},
         K::Usage,
         "OUTPUT must end in .png, .jpg, .jpeg, .bmp, .pdf, .tmx, .dd2vtt, .uvtt, .df2vtt or .json: o"},
        {{"d1.tmj", "out.map"}, K::Usage, "IN must end in .tmx to import a Tiled map into a .map: d1.tmj"},
        {{"--frobnicate", "m.map", "o.png"}, K::Usage, "unknown option --frobnicate"},
        {{"m.map", "o.png", "--zoom"}, K::Usage, "option --zoom needs a value"},
        {{"--zoom", "2", "--zoom", "3", "m.map", "o.png"}, K::Usage, "option --zoom is given twice"},
        {{"--zoom", "2", "m.map", "o.pdf"}, K::Usage, "--zoom applies to pictures, not to PDF output"},
        {{"--scale", "fit", "m.map", "o.png"}, K::Usage, "--scale applies to PDF output only"},
        {{"", "o.png"}, K::Usage, "MAP and OUTPUT must not be empty"},
        {{"--zoom", "0", "m.map", "o.png"}, K::BadValue, "--zoom must be a whole number from 1 to 256, not \"0\""},
        {{"--zoom", "257", "m.map", "o.png"}, K::BadValue, "--zoom must be a whole number from 1 to 256, not \"257\""},
        {{"--zoom", "4x", "m.map", "o.png"}, K::BadValue, "--zoom must be a whole number from 1 to 256, not \"4x\""},
        {{"--zoom=", "m.map", "o.png"}, K::BadValue, "--zoom must be a whole number from 1 to 256, not \"\""},
        {{"--region", "5,5,4,6", "m.map", "o.png"},
         K::BadValue,
         "--region must be L,T,R,B with 1 <= L <= R <= 72 and 1 <= T <= B <= 72, not \"5,5,4,6\""},
        {{"--region", "0,1,2,3", "m.map", "o.png"},
         K::BadValue,
         "--region must be L,T,R,B with 1 <= L <= R <= 72 and 1 <= T <= B <= 72, not \"0,1,2,3\""},
        {{"--region", "1,1,73,2", "m.map", "o.png"},
         K::BadValue,
         "--region must be L,T,R,B with 1 <= L <= R <= 72 and 1 <= T <= B <= 72, not \"1,1,73,2\""},
        {{"--region", "1,1,2", "m.map", "o.png"},
         K::BadValue,
         "--region must be L,T,R,B with 1 <= L <= R <= 72 and 1 <= T <= B <= 72, not \"1,1,2\""},
        {{"--show-hidden", "yes", "m.map", "o.png"}, K::BadValue, "--show-hidden must be on or off, not \"yes\""},
        {{"--scale", "0.3", "m.map", "o.pdf"},
         K::BadValue,
         "--scale must be fit, 0.25, 0.50, 0.75, 1.00, 1.25 or 1.50, not \"0.3\""},
        {{"--scale", "1.", "m.map", "o.pdf"},
         K::BadValue,
         "--scale must be fit, 0.25, 0.50, 0.75, 1.00, 1.25 or 1.50, not \"1.\""},
        {{"--margins", "0.5,0.5,0.5", "m.map", "o.pdf"},
         K::BadValue,
         "--margins must be L,T,R,B, each 0.25, 0.50, 1.00 or 1.50, not \"0.5,0.5,0.5\""},
        {{"--margins", "0.5,0.75,0.5,0.5", "m.map", "o.pdf"},
         K::BadValue,
         "--margins must be L,T,R,B, each 0.25, 0.50, 1.00 or 1.50, not \"0.5,0.75,0.5,0.5\""},
        {{"--grid", "dots", "m.map", "o.pdf"},
         K::BadValue,
         "--grid must be none, squares, hexes, offset or overlay, not \"dots\""},
        {{"--paper", "tabloid", "m.map", "o.pdf"}, K::BadValue, "--paper must be letter, a4 or legal, not \"tabloid\""},
        {{"--sheets", "round", "m.map", "o.pdf"}, K::BadValue, "--sheets must be square or fit, not \"round\""},
        {{"--resolution", "71", "m.map", "o.pdf"},
         K::BadValue,
         "--resolution must be a whole number from 72 to 2400, not \"71\""},
        {{"--pages", "3-2", "m.map", "o.pdf"},
         K::BadValue,
         "--pages must be FROM-TO with 1 <= FROM <= TO <= 999, not \"3-2\""},
        {{"--pages", "0-2", "m.map", "o.pdf"},
         K::BadValue,
         "--pages must be FROM-TO with 1 <= FROM <= TO <= 999, not \"0-2\""},
        {{"--pages", "5", "m.map", "o.pdf"},
         K::BadValue,
         "--pages must be FROM-TO with 1 <= FROM <= TO <= 999, not \"5\""},
        {{"--pages", "1-1000", "m.map", "o.pdf"},
         K::BadValue,
         "--pages must be FROM-TO with 1 <= FROM <= TO <= 999, not \"1-1000\""},
        {{"--area", "all", "m.map", "o.pdf"},
         K::BadValue,
         "--area must be map, drawn or L,T,R,B with 1 <= L <= R <= 72 and 1 <= T <= B <= 72, not \"all\""},
        {{"--tileset", "", "m.map", "o.pdf"}, K::BadValue, "--tileset needs a file name"},
        {{"--accept-any-size=on", "m.map", "o.png"}, K::Usage, "option --accept-any-size takes no value"},
        {{"--accept-any-size", "--generate", "caves", "o.png"},
         K::Usage,
         "--accept-any-size applies to reading a MAP, not to --generate"},
        {{"--accept-any-size", "t.tmx", "o.map"},
         K::Usage,
         "--accept-any-size does not apply to importing a Tiled map"},
    };
    for (const auto& c : cases) {
        auto p = ParseRenderArgs(c.args);
        EXPECT_EQ(p.Kind, c.kind) << c.message;
        EXPECT_EQ(p.Message, c.message);
        EXPECT_EQ(p.ExitCode(), c.kind == K::Usage ? 2 : 1);
    }
}

TEST(RenderArgs, HelpAndOperandsAfterDoubleDash) {
    EXPECT_EQ(Parse({"--help"}).Kind, TRenderParse::Help);
    EXPECT_EQ(Parse({"m.map", "-h", "--bogus"}).Kind, TRenderParse::Help);
    EXPECT_EQ(Parse({"--help"}).ExitCode(), 0);
    auto p = Parse({"--", "-odd.map", "--help.png"});
    ASSERT_EQ(p.Kind, TRenderParse::Run) << p.Message;
    EXPECT_EQ(p.Args.MapPath, "-odd.map");
    EXPECT_EQ(p.Args.OutputPath, "--help.png");
}

// Any bytes at all: the parser answers, never crashes.
TEST(RenderArgs, ArbitraryBytes) {
    std::mt19937 rng(11);
    static const char raw[] = "-=,.0123456789abcdefghijklmnopqrstuvwxyz\xff\0 /";
    const std::string alphabet(raw, sizeof raw - 1);
    for (int round = 0; round < 3000; ++round) {
        std::vector<std::string> args(rng() % 7);
        for (auto& a : args) {
            const int len = int(rng() % 14);
            if (rng() % 3 == 0) {
                static const char* const names[] = {"--zoom", "--region", "--pages", "--margins", "--scale", "--area"};
                a = names[rng() % 6];
                if (rng() % 2) a += "=";
            }
            for (int k = 0; k < len; ++k) a += alphabet[rng() % alphabet.size()];
        }
        auto p = ParseRenderArgs(args);
        EXPECT_TRUE(p.Kind == TRenderParse::Run || !p.Message.empty() || p.Kind == TRenderParse::Help);
    }
}

TEST(RenderArgs, BattleMatOptions) {
    auto d = Parse({"m.map", "o.pdf"});
    EXPECT_EQ(d.Args.Print.Mat, TBattleMatOptions());
    EXPECT_FALSE(d.Args.Print.DrawnPart);
    auto p = Parse({"--overlap",    "0.25",   "--marks",     "on",      "--overview=on", "--correction", "98",
                    "--skip-empty", "on",     "--ink-saver", "on",      "--show-hidden", "off",          "--sheets",
                    "fit",          "--area", "drawn",       "--paper", "legal",         "m.map",        "o.pdf"});
    ASSERT_EQ(p.Kind, TRenderParse::Run) << p.Message;
    const TBattleMatOptions& mat = p.Args.Print.Mat;
    EXPECT_EQ(mat.Overlap, 2);
    EXPECT_TRUE(mat.Marks && mat.Overview && mat.SkipEmpty && mat.InkSaver && mat.FitSheets && p.Args.Print.DrawnPart);
    EXPECT_TRUE(p.Args.Print.WholeMap);
    EXPECT_EQ(p.Args.Paper, TRenderPaper::Legal);
    EXPECT_EQ(mat.Correction, 980);
    EXPECT_EQ(p.Args.ShowHidden, false); // the player copy, now for PDF output too
    EXPECT_EQ(mat.Hidden, hpLeaveOut);

    using K = TRenderParse::TKind;
    struct Case {
        std::vector<std::string> args;
        K kind;
        int correction;
        std::string message;
    };
    const Case cases[] = {
        {{"--correction", "95", "m.map", "o.pdf"}, K::Run, 950, ""},
        {{"--correction", "105.0", "m.map", "o.pdf"}, K::Run, 1050, ""},
        {{"--correction", "101.3", "m.map", "o.pdf"}, K::Run, 1013, ""},
        {{"--correction", "94.9", "m.map", "o.pdf"},
         K::BadValue,
         0,
         "--correction must be a percentage from 95.0 to 105.0, not \"94.9\""},
        {{"--correction", "100.25", "m.map", "o.pdf"},
         K::BadValue,
         0,
         "--correction must be a percentage from 95.0 to 105.0, not \"100.25\""},
        {{"--correction", "100.", "m.map", "o.pdf"},
         K::BadValue,
         0,
         "--correction must be a percentage from 95.0 to 105.0, not \"100.\""},
        {{"--correction", "-99", "m.map", "o.pdf"},
         K::BadValue,
         0,
         "--correction must be a percentage from 95.0 to 105.0, not \"-99\""},
        {{"--overlap", "0.3", "m.map", "o.pdf"},
         K::BadValue,
         0,
         "--overlap must be 0, 0.125, 0.25 or 0.5, not \"0.3\""},
        {{"--marks", "yes", "m.map", "o.pdf"}, K::BadValue, 0, "--marks must be on or off, not \"yes\""},
        {{"--ink-saver", "", "m.map", "o.pdf"}, K::BadValue, 0, "--ink-saver must be on or off, not \"\""},
        {{"--overview", "on", "m.map", "o.png"}, K::Usage, 0, "--overview applies to PDF output only"},
        {{"--rock", "paper", "m.map", "o.png"},
         K::BadValue,
         0,
         "--rock must be drawn, hatched or white, not \"paper\""},
        {{"--rock", "white", "m.map", "o.tmx"},
         K::Usage,
         0,
         "--rock does not apply to Tiled maps (only --tileset does)"},
    };
    for (const Case& c : cases) {
        auto r = Parse(c.args);
        EXPECT_EQ(r.Kind, c.kind) << c.args[1];
        EXPECT_EQ(r.Message, c.message);
        if (c.kind == K::Run) {
            EXPECT_EQ(r.Args.Print.Mat.Correction, c.correction) << c.args[1];
        }
    }
}
