#pragma once
// Where the main window's list, its column headings and the preview panel go for a
// client area of a given size. The list keeps its left edge L as the margin on the
// left, between list and panel, and right of the panel; the panel keeps its size and
// is centred vertically; the headings stand over the quarters of the list.
//
// For the layout's client area of 1238 x 562: panel at 829/36, list 669 x 383,
// headings at 581 and 247, tab width 167. For any width W of at least 569 the panel
// stands at W - 409 and the list is W - 569 wide. Halves and quarters are truncated.
// A window too small for the list gives it no width or height (never a negative one);
// the panel may then stand partly outside the client area.
namespace browser {

// The design values the layout keeps.
struct FixedLayout {
    int listLeft = 80;
    int listTop = 104;
    int panelWidth = 329;
    int panelHeight = 489;
    int saveButtonHeight = 25;
    int saveButtonBottomGap = 70; // from the save button's top to the client area's bottom
};

struct WindowLayout {
    int panelLeft = 0;
    int panelTop = 0;
    int listWidth = 0;
    int listHeight = 0;
    int titleHeadingLeft = 0;
    int authorHeadingLeft = 0;
    // Where the author column begins, in quarters of the list font's average character width.
    int tabUnits = 0;
    int saveButtonTop = 0;
};

WindowLayout layoutForClientSize(int width, int height, const FixedLayout &fixed = {});

} // namespace browser
