#include "layout.h"

#include <algorithm>

namespace browser {

WindowLayout layoutForClientSize(int width, int height, const FixedLayout &fixed)
{
    const int margin = fixed.listLeft;
    WindowLayout layout;
    layout.panelLeft = width - fixed.panelWidth - margin;
    layout.listWidth = std::max(0, width - fixed.panelWidth - 3 * margin);
    layout.titleHeadingLeft = static_cast<int>(margin + layout.listWidth * 0.75);
    layout.authorHeadingLeft = static_cast<int>(margin + layout.listWidth * 0.25);
    layout.tabUnits = layout.listWidth / 4;
    layout.listHeight = std::max(0, height - fixed.listTop - 3 * fixed.saveButtonHeight);
    layout.panelTop = (height - fixed.panelHeight) / 2; // C++ division truncates towards zero
    layout.saveButtonTop = height - fixed.saveButtonBottomGap;
    return layout;
}

} // namespace browser
