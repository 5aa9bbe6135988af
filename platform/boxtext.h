#pragma once
// The text a message box shows. A box holds a few screens of text at most: a text of
// megabytes (the path of a copy named after a huge title, say) would take minutes to
// lay out, so a longer text is cut and ends with "…". Standard error gets it whole.
#include <QString>

namespace platform {

inline constexpr qsizetype MaxBoxTextLength = 2000;

QString boxText(const QString &text);

} // namespace platform
