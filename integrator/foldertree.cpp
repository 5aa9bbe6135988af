#include "foldertree.h"

namespace integrator {

std::vector<FolderRow> folderTreeRows(std::string_view currentFolder, const std::vector<std::string> &subfolders)
{
    std::vector<FolderRow> rows;
    rows.push_back({"/", "/", 0, true});
    std::string path;
    int depth = 0;
    while (!currentFolder.empty()) {
        const auto cut = currentFolder.find('/');
        const std::string_view name = currentFolder.substr(0, cut);
        if (!name.empty()) {
            path.append("/").append(name);
            rows.push_back({std::string(name), path, ++depth, true});
        }
        if (cut == std::string_view::npos)
            break;
        currentFolder.remove_prefix(cut + 1);
    }
    const std::string prefix = path + "/";
    for (const auto &name : subfolders)
        rows.push_back({name, prefix + name, depth + 1, false});
    return rows;
}

std::size_t currentRowOf(const std::vector<FolderRow> &rows)
{
    std::size_t current = 0;
    for (std::size_t i = 0; i < rows.size() && rows[i].open; ++i)
        current = i;
    return current;
}

} // namespace integrator
