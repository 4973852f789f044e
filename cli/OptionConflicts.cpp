#include "cli/OptionConflicts.h"

#include <cstdint>
#include <limits>
#include <set>

namespace quarmel {

namespace {

// The value a setting holds once `value` is applied: two texts are one value when these agree.
double StoredValue(const std::string& name, const std::string& value) {
    AlgParameters scratch;
    ApplySetting({name, value}, scratch);
    const SettingSpec& s = *FindSettable(name);
    return s.DecimalField ? static_cast<double>(scratch.*s.DecimalField)
                          : static_cast<double>(scratch.*s.WholeField);
}

}  // namespace

void CheckOptionConflicts(const BatchOptions& options) {
    std::set<std::string> set;
    for (const SettingAssignment& s : options.Settings) {
        if (!set.insert(s.Name).second)
            throw BatchInputError("--set " + s.Name + " is given twice");
    }
    for (const GridAxis& axis : options.Grid) {
        if (set.count(axis.Name)) {
            throw BatchInputError("--set " + axis.Name + " and --grid " + axis.Name +
                                  " both give the setting");
        }
        for (std::size_t i = 0; i < axis.Values.size(); ++i) {
            for (std::size_t j = 0; j < i; ++j) {
                if (StoredValue(axis.Name, axis.Values[i]) ==
                    StoredValue(axis.Name, axis.Values[j])) {
                    throw BatchInputError("--grid " + axis.Name + " lists one value twice ('" +
                                          axis.Values[j] + "' and '" + axis.Values[i] + "')");
                }
            }
        }
    }
    constexpr std::uint64_t kLastSeed = std::numeric_limits<std::uint32_t>::max();
    if (options.Seed && *options.Seed + std::uint64_t(options.Runs) - 1 > kLastSeed) {
        throw BatchInputError("--seed " + std::to_string(*options.Seed) + " with --runs " +
                              std::to_string(options.Runs) + " would pass the last seed " +
                              std::to_string(kLastSeed));
    }
}

}  // namespace quarmel
