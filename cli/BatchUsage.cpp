// What quarmel-batch --help and --reads print.
#include <algorithm>
#include <string>
#include <vector>

#include "algorithms/AlgorithmTable.h"
#include "cli/BatchOptionTable.h"
#include "cli/BatchOptions.h"
#include "cli/BatchWriter.h"
#include "model/Settings.h"

namespace quarmel {

namespace {

constexpr std::size_t kWidth = 80;

// `label` padded to `indent` columns, then `text` wrapped at blanks so that no line passes
// kWidth; the lines after the first start at `indent`. A word longer than a line stays whole.
std::string Wrapped(const std::string& label, const std::string& text, std::size_t indent) {
    const std::size_t pad = indent > label.size() ? indent - label.size() : label.empty() ? 0 : 1;
    std::string out, line = label + std::string(pad, ' ');
    bool empty = true;  // the line holds no word yet
    std::size_t from = 0;
    while (from < text.size()) {
        std::size_t to = text.find(' ', from);
        if (to == std::string::npos) to = text.size();
        const std::string word = text.substr(from, to - from);
        from = to + 1;
        if (word.empty()) continue;
        if (!empty && line.size() + 1 + word.size() > kWidth) {
            out += line + "\n";
            line = std::string(indent, ' ');
            empty = true;
        }
        line += (empty ? "" : " ") + word;
        empty = false;
    }
    return out + line + "\n";
}

struct HelpEntry {
    std::string Label, Text;
};

std::string Entries(const std::vector<HelpEntry>& entries, std::size_t indent) {
    std::string out;
    for (const HelpEntry& e : entries) out += Wrapped(e.Label, e.Text, indent);
    return out;
}

// A line per algorithm: its key, its name and the settings it reads.
std::string AlgorithmLines() {
    std::vector<HelpEntry> entries;
    for (std::size_t k = 0; k < kAlgorithmCount; ++k) {
        entries.push_back({"  " + std::string(kAlgorithms[k].Key),
                           AlgorithmTitle(KindAt(k)) + ": " + SettingsReadAtStart(KindAt(k), " ")});
    }
    return Entries(entries, 13);
}

// The settings with their ranges and start values, as many a line as fit; an entry stays whole.
std::string SettingLines() {
    std::string lines, line;
    for (std::size_t i = 0; i < kSettingCount; ++i) {
        const SettingSpec& s = kSettings[i];
        if (s.Kind == SettingKind::Ignored) continue;
        const std::string entry = std::string(s.Name) + " (" + SettingRangeAndStart(s) + ")";
        if (!line.empty() && line.size() + 2 + entry.size() > kWidth) {
            lines += line + "\n";
            line.clear();
        }
        line += "  " + entry;
    }
    return lines + line + "\n";
}

// A line per format, from the writers' table.
std::string FormatLines() {
    std::vector<HelpEntry> entries;
    for (const BatchFormatHelp& format : BatchFormatsHelp()) {
        entries.push_back({"  " + format.Label, format.Text});
    }
    return Entries(entries, 11);
}

// A line per option, from the options' table.
std::string OptionLines() {
    std::vector<HelpEntry> entries;
    for (const BatchOptionRow& row : BatchOptionRows()) {
        std::string label = std::string("  ") + row.Name;
        if (row.Short) label += std::string(", ") + row.Short;
        if (*row.ValueName) label += std::string(" ") + row.ValueName;
        entries.push_back({label, row.Help()});
    }
    return Entries(entries, 25);
}

}  // namespace

std::string SettingsReadBy(AlgorithmKind kind) {
    std::string names;
    for (std::size_t i = 0; i < kSettingCount; ++i) {
        const SettingSpec& s = kSettings[i];
        if (SettingMayBeReadBy(s, kind)) {
            names += std::string(s.Name) + "\n";
        }
    }
    return names;
}

std::string BatchUsage() {
    const std::string usage =
        "usage: quarmel-batch --algorithm ALGORITHM [OPTION]... PROBLEM_FILE...\n"
        "       quarmel-batch --summarize RUNS_TABLE [--target V|optimum]\n"
        "                     [--format summary|pairs] [--no-header]\n"
        "       quarmel-batch --reads ALGORITHM\n"
        "       quarmel-batch --help | --version\n\n" +
        Wrapped("",
                "Runs one algorithm on the problems of data files (their solutions are "
                "ignored), problem by problem, and prints the run's solutions as CSV; with "
                "--runs, --grid or several files, one row per run of K runs with seeds N, N+1, "
                "... Every format is one table.",
                0) +
        "Options:\n" + OptionLines() +
        "Formats (numbers are the shortest text that reads back; a missing one is empty):\n" +
        FormatLines() +
        Wrapped("",
                "Algorithms (the settings each reads; random search and pagmo2's cmaes, de and "
                "pso are references to compare the window's four with):",
                0) +
        AlgorithmLines() +
        "Settings start as the option pages show them at start-up, with the delays 0:\n";
    return usage + SettingLines();
}

}  // namespace quarmel
