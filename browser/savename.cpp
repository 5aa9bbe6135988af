#include "savename.h"

namespace browser {
namespace {

// "כרך" and "מס'" in Windows-1255.
constexpr std::string_view kVolume = "\xEB\xF8\xEA";
constexpr std::string_view kNumber = "\xEE\xF1'";

} // namespace

std::string MakeSaveName(std::string_view title)
{
    std::string name;
    name.reserve(title.size() + 8);
    for (size_t p = 0; p < title.size(); ++p) {
        const std::string_view rest = title.substr(p);
        const char c = title[p];
        if (c == '\t') {
            name += '_';
        } else if (rest.starts_with("Vol.")) {
            name += kVolume;
            p += 3; // the period goes with the word, never becomes "-"
        } else if (rest.starts_with("No.")) {
            name += kNumber;
            p += 2;
        } else if (c == '"') {
            name += "''";
        } else if (c == '\\' || c == '/') {
            name += ',';
        } else if (c == ':' || c == '|' || c == '?' || c == '*') {
            name += ' ';
        } else if (c == '<') {
            name += '(';
        } else if (c == '.') {
            name += '-';
        } else if (c == '>') {
            name += ')';
        } else {
            name += c;
        }
    }
    return name;
}

std::string savePath(std::string_view folder, std::string_view title)
{
    std::string path(folder);
    path += MakeSaveName(title);
    path += ".pdf";
    return path;
}

} // namespace browser
