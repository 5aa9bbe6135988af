#include "booksfolder.h"

namespace browser {

BooksFolder resolveBooksFolder(std::string_view folder,
                               const std::function<bool(std::string_view)> &folderExists)
{
    static constexpr char kLetters[] = {'E', 'F', 'G', 'H', 'I'};
    std::string candidate(folder);
    int attempts = 0;
    while (!folderExists(candidate)) {
        if (attempts > 4)
            break;
        const std::string_view rest = folder.empty() ? std::string_view{} : folder.substr(1);
        candidate.assign(1, kLetters[attempts]).append(rest);
        ++attempts;
    }
    return {candidate, attempts >= 1 && attempts <= 3};
}

} // namespace browser
