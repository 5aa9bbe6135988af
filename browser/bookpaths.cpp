#include "bookpaths.h"

namespace browser {
namespace {

std::string joined(std::string_view booksFolder, std::string_view subfolder, std::string_view between,
                   std::int32_t id, std::string_view extension)
{
    std::string path;
    path.reserve(booksFolder.size() + subfolder.size() + between.size() + 12 + extension.size());
    path.append(booksFolder).append(subfolder).append(between).append(std::to_string(id)).append(extension);
    return path;
}

} // namespace

std::string pdfPath(std::string_view booksFolder, std::string_view subfolder, std::int32_t id)
{
    return joined(booksFolder, subfolder, "\\", id, ".pdf");
}

std::string thumbnailPath(std::string_view booksFolder, std::string_view subfolder, std::int32_t id)
{
    return joined(booksFolder, subfolder, "\\thumbs\\", id, ".jpg");
}

} // namespace browser
