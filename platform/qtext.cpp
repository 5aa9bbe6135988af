#include "qtext.h"

#include "codec.h"

namespace platform {

QString toQString(std::string_view win1255)
{
    return fromUtf8(win1255ToUtf8(win1255));
}

std::string toWin1255(const QString &text)
{
    const QByteArray utf8 = text.toUtf8();
    return utf8ToWin1255(std::string_view(utf8.constData(), static_cast<size_t>(utf8.size())));
}

QString fromUtf8(std::string_view utf8)
{
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

} // namespace platform
