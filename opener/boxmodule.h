#pragma once
// The message box module: the only part of the opener that uses Qt. The opener carries
// it inside its own executable and loads it only when it has a message to show, so a
// run that shows nothing never loads Qt.
namespace opener {

enum class BoxIcon { None = 0, Stop = 1 };

// The module's one entry, looked up by this name: shows a right-to-left box with one
// OK button and returns when it is closed; 0 when no box could be shown.
inline constexpr char showBoxEntryName[] = "kelidorShowBox";
using ShowBoxEntry = int (*)(const char *captionUtf8, const char *textUtf8, int icon);

} // namespace opener
