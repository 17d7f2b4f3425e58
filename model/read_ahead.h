// A project file read on a thread of its own while the editor builds its window, so that
// the project it was started with opens sooner. The read is taken by the next read of the
// same file, if the file is as it was when the read began and the id counters are the ones
// it numbered from; otherwise it is dropped and the file is read anew.
#pragma once

#include <filesystem>
#include <optional>

#include "model/model.h"
#include "model/opz.h"

namespace tamsel {

// Starts reading `opzFile` with the given counters, in place of any read begun before.
void ReadProjectAhead(const std::filesystem::path& opzFile, const IdCounters& ids = {});

// The read begun for `opzFile` (the same file, by any path) with counters `ids`, waited
// for, and the counters after it in `ids`; nothing when none was begun for it, it failed,
// or the file changed, and then a read begun for it is gone. A read of another file is
// left alone.
std::optional<ProjectData> TakeReadAhead(const std::filesystem::path& opzFile, IdCounters& ids);

// Waits for a read no one took, and lets it go: nothing may still be reading as the program
// ends.
void DropReadAhead();

}  // namespace tamsel
