#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "algorithms/Globalsearch.h"
#include "algorithms/RunControl.h"
#include "model/Algparameters.h"
#include "model/Settings.h"
#include "model/Solution.h"

namespace quarmel {

// How a run of an algorithm is made: a local search publishes its path into `path`, an algorithm
// with a population its history and population into `progress`.
using RunFunction = void (*)(AlgParameters& params, SolutionList& path, GeneticProgress& progress,
                             RunControl& control);

// One algorithm: every list of algorithms (the batch runner's options and texts, the window's
// menus and experiment, the plots' labels, the status line, the manual page) is read from its row.
struct AlgorithmRow {
    const char* Key;      // on the command line and in tables: greedy, cmaes, ...
    const char* Caption;  // in the experiment window, with its accelerator
    // The setting groups it reads (bits by SettingGroup), and, where only some settings of them
    // count with some choices, the rule that says which; null when all of them count.
    unsigned Groups;
    bool (*Reads)(const SettingSpec& setting, const AlgParameters& params);
    // Whether it publishes a population (and its history) rather than a path.
    bool Population;
    // The setting that holds its number of generations, for the status line's progress bar.
    int AlgParameters::*Generations;
    const char* Running;  // the status line while it runs, and while it is paused
    const char* Paused;
    unsigned Colour;  // 0xRRGGBB, in the plots
    RunFunction Run;
    // Whether the window starts it from the reference algorithms' submenu (the others have
    // their own menu items and tool buttons).
    bool Reference;
};

// The rows, the four of the window's own menus first, in their order; AlgorithmKind is a row's
// index.
extern const AlgorithmRow kAlgorithms[];
extern const std::size_t kAlgorithmCount;

inline const AlgorithmRow& AlgorithmOf(AlgorithmKind kind) {
    return kAlgorithms[static_cast<std::size_t>(kind)];
}
inline AlgorithmKind KindAt(std::size_t index) {
    return static_cast<AlgorithmKind>(index);
}
// Whether a kind names a row.
inline bool IsAlgorithm(int kind) {
    return kind >= 0 && static_cast<std::size_t>(kind) < kAlgorithmCount;
}

// The row's key; "unknown" for a kind outside the table.
const char* AlgorithmName(AlgorithmKind kind);
// The row's caption without its accelerator: "Simulated annealing".
std::string AlgorithmTitle(AlgorithmKind kind);
// The settings a run of `kind` reads at the start settings, joined by `separator`.
std::string SettingsReadAtStart(AlgorithmKind kind, std::string_view separator);
// The kind whose key is `key`, or -1.
int FindAlgorithm(std::string_view key);
// The keys joined by `separator`: "greedy|steepest|...".
std::string AlgorithmKeys(std::string_view separator);

// Whether a run of `kind` may read the setting: it is of the algorithm's groups (some count only
// with some choices of others); never a delay or the ignored field.
bool SettingMayBeReadBy(const SettingSpec& setting, AlgorithmKind kind);
// Whether a run of `kind` with `params` reads the setting (never a delay or the ignored field).
bool SettingUsedBy(const SettingSpec& setting, AlgorithmKind kind, const AlgParameters& params);
// The settings a run of `kind` reads that differ from their start values (ChangedSettingsText):
// how the run differs from one at the start settings ("PopSize=20;MutA=0.02"; empty when not).
std::string ChangedSettingsText(const AlgParameters& params, AlgorithmKind kind);

}  // namespace quarmel
