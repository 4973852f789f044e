#pragma once

#include <string>

namespace quarmel {

// Replaces the file at `path` by `text` all at once: the text goes to a new temporary file in the
// same folder (unnamed where the file system allows, so a process killed while writing leaves
// nothing behind), is flushed to disk and then renamed over `path`. On any failure the temporary
// file is removed, `path` is left as it was, and the result is false with `error` saying why.
// An existing file keeps its permissions, its extended attributes and access control list (the
// save is refused when they cannot be copied), and its owner where the user may set it; the
// folder is flushed after the rename. A file the
// user may not write or that has no write permission at all, and a file with several hard
// links, are refused. Symbolic links are followed and their final target replaced, or created
// when it does not exist yet.
bool WriteFileAtomically(const std::string& path, const std::string& text, std::string& error);

// Why WriteFileAtomically would refuse `path` before writing anything, or why it could not
// create it (a link loop, no folder, a folder it may not write): empty when a save may go ahead.
std::string SaveRefusal(const std::string& path);

}  // namespace quarmel
