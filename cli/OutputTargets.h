#pragma once

#include "cli/BatchOptions.h"

namespace quarmel {

// Why a file cannot be read or written, from errno: "no such file", "permission denied" or the
// system's own text.
std::string FileErrorText(int error);

// Judges every file and folder an invocation writes (--out, --meta, the --format ioh folder)
// before anything runs: each must be one the atomic save may replace or create (no read-only
// file, no file with several hard links, no link loop, a folder it may write), none may be one
// of the problem files, and no two may be the same. Throws BatchInputError naming the first that
// is not, with why.
void JudgeOutputTargets(const BatchOptions& options);

}  // namespace quarmel
