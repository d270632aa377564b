#pragma once
// The choices of "Print Properties" that quillmarch-render's command line offers too, by
// item index: kept once so the dialog's lists and the command line's words cannot drift.

namespace qm {

// Inches per cell; item 0 is the dialog's "Fit To Page" (the command line's "fit").
inline constexpr const char* ScaleFitText = "Fit To Page";
inline constexpr float ScaleChoiceInches[] = {0.0f, 0.25f, 0.5f, 0.75f, 1.0f, 1.25f, 1.5f};

// Inches of each margin item.
inline constexpr float MarginChoiceInches[] = {0.25f, 0.5f, 1.0f, 1.5f};

// Grid styles in TGridStyle order: the dialog's text and the command line's word.
struct TGridStyleChoice {
    const char* Text;
    const char* Word;
};
inline constexpr TGridStyleChoice GridStyleChoices[] = {
    {"None", "none"},           {"Aligned Squares", "squares"},
    {"Aligned Hexes", "hexes"}, {"Offset Squares", "offset"},
    {"Hex Overlay", "overlay"},
};

// Battle-mat overlaps in TOverlap order: inches, the dialog's text and the command line's word.
struct TOverlapChoice {
    float Inches;
    const char* Text;
    const char* Word;
};
inline constexpr TOverlapChoice OverlapChoices[] = {
    {0.0f, "None", "0"}, {0.125f, "1/8\"", "0.125"}, {0.25f, "1/4\"", "0.25"}, {0.5f, "1/2\"", "0.5"}};

} // namespace qm
