#include "bookname.h"

#include "platform/winpath.h"

namespace opener {

std::string bookNameFromPath(std::string_view path)
{
    std::string_view name = platform::extractFileName(path);
    if (name.starts_with("K "))
        name.remove_prefix(2);
    if (name.size() <= 4)
        return {};
    name.remove_suffix(4);
    return std::string(name);
}

} // namespace opener
