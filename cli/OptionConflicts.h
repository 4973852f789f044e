#pragma once

#include "cli/BatchOptions.h"

namespace quarmel {

// Refuses options that each read well but together would be silently mixed: a setting given
// twice by --set, a setting both set and swept by --grid, a --grid listing one value twice (by
// the value the setting stores: 0.1, 0.10 and 1e-1 are one), and a --seed whose --runs would
// pass the last seed and start again at 0. Throws BatchInputError naming the first.
void CheckOptionConflicts(const BatchOptions& options);

}  // namespace quarmel
