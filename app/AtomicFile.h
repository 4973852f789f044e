#pragma once

#include <string>

namespace quarmel {

// Replaces the file at `path` by `text` all at once: the text goes to a new temporary file in the
// same folder, is flushed to disk and then renamed over `path`. On any failure the temporary file
// is removed, `path` is left as it was, and the result is false with `error` saying why. An
// existing file keeps its permissions; a symbolic link is followed and its target replaced.
bool WriteFileAtomically(const std::string& path, const std::string& text, std::string& error);

}  // namespace quarmel
