#include "boxtext.h"

namespace platform {

QString boxText(const QString &text)
{
    if (text.size() <= MaxBoxTextLength)
        return text;
    qsizetype cut = MaxBoxTextLength;
    if (text.at(cut - 1).isHighSurrogate())
        --cut; // not inside a character
    return text.left(cut) + QChar(0x2026);
}

} // namespace platform
