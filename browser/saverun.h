#pragma once
// Saving copies of books: each book's PDF copied, byte for byte, to the name made from
// its title. The copies are made one after another; the first failure stops the run and
// the copies made before it stay.
//
// Each copy opens its source before touching the target, streams the bytes (a book is
// never held in memory) into a temporary file beside the target, and renames it to the
// target's name only when the whole book is written. So a failed copy leaves neither a
// half-written book nor an empty file under the title's name, and a file already
// there is replaced only by a complete copy.
#include "platform/winpath.h"

#include <string>
#include <vector>

namespace browser {

// One book to save; both paths in Windows form.
struct SaveCopy {
    std::string source;
    std::string target;
};

struct SaveResult {
    int saved = 0;     // copies completed, in the order given
    std::string error; // empty when all were saved; else what failed, naming the file (UTF-8)
};

SaveResult runSave(const std::vector<SaveCopy> &copies, const platform::DriveTable &drives);

} // namespace browser
