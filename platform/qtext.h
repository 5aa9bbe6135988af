#pragma once
// The edge between the programs' Windows-1255 byte strings and Qt's text.
#include <QString>

#include <string>
#include <string_view>

namespace platform {

QString toQString(std::string_view win1255);
std::string toWin1255(const QString &text);
// A native (UTF-8) file name or message shown as text.
QString fromUtf8(std::string_view utf8);

} // namespace platform
