// quarmel-batch: runs one algorithm on the problem of a data file, reproducibly from a seed, and
// prints the run's solutions (or a summary of several runs) for scripts and experiments.
#include <cstdio>
#include <exception>
#include <filesystem>
#include <string>
#include <vector>

#include "BatchOptions.h"
#include "BatchRun.h"
#include "app/DataFile.h"
#include "app/OpenedProblem.h"
#include "model/Random.h"

using namespace quarmel;

namespace {

constexpr int kBadInput = 2;
constexpr int kFailed = 1;

int Refuse(const std::string& message) {
    std::fprintf(stderr, "quarmel-batch: %s\n", message.c_str());
    return kBadInput;
}

// The folder a new file would go to must exist before anything runs.
void CheckOutFolder(const std::string& file) {
    std::filesystem::path folder = std::filesystem::path(file).parent_path();
    if (folder.empty()) folder = ".";
    std::error_code ec;
    if (!std::filesystem::is_directory(folder, ec)) {
        throw BatchInputError("cannot write '" + file + "': no folder " + folder.string());
    }
    if (std::filesystem::is_directory(file, ec)) {
        throw BatchInputError("cannot write '" + file + "': it is a folder");
    }
}

bool Print(const std::string& text) {
    return std::fwrite(text.data(), 1, text.size(), stdout) == text.size();
}

}  // namespace

int main(int argc, char* argv[]) {
    BatchOptions options;
    AlgParameters params;
    OpenedProblem problem;
    try {
        options = ParseBatchArguments(std::vector<std::string>(argv + 1, argv + argc));
        if (options.Help) {
            std::fputs(BatchUsage().c_str(), stdout);
            return 0;
        }
        if (options.Version) {
            std::puts("quarmel-batch " QUARMEL_VERSION);
            return 0;
        }
        StartSettings(params);
        for (const SettingAssignment& s : options.Settings) ApplySetting(s, params);
        problem = OpenProblem(options.ProblemFile, params);
        if (!problem.Ok()) throw BatchInputError(options.ProblemFile + ": " + problem.Error);
        if (options.OutFile) CheckOutFolder(*options.OutFile);
    } catch (const BatchInputError& e) {
        return Refuse(e.what());
    }

    const std::uint32_t seed = options.Seed ? *options.Seed : ClockSeed();
    std::vector<RunOutcome> runs;
    for (int k = 0; k < options.Runs; ++k) {
        // Seeds follow on modulo 2^32.
        runs.push_back(RunOnce(options.Algorithm, params, seed + static_cast<std::uint32_t>(k)));
    }

    bool written = true;
    if (options.RunsGiven) {
        written = Print(RunsTable(runs, params.Maximize()));
    } else {
        written = Print(SolutionsCsv(params, runs.front().Solutions));
        if (options.Population) {
            written = written && Print("\n" + SolutionsCsv(params, runs.front().Population));
        }
    }
    written = std::fflush(stdout) == 0 && written;
    std::fprintf(stderr, "%s\n", SummaryLine(options.Algorithm, runs, params.Maximize()).c_str());
    if (!written) {
        std::fprintf(stderr, "quarmel-batch: cannot write the standard output\n");
        return kFailed;
    }

    if (options.OutFile) {
        DataFileContents contents;
        contents.FunctionName = problem.FunctionName;
        contents.Formula = problem.Formula;
        contents.Maximize = params.Maximize();
        contents.Variables = params.Variables();
        contents.Solutions = runs[BestRun(runs, params.Maximize())].Solutions;
        const SaveResult saved = SaveDataFile(*options.OutFile, contents);
        if (!saved.Ok) {
            std::fprintf(stderr, "quarmel-batch: %s\n", saved.Error.c_str());
            return kFailed;
        }
    }
    return 0;
}
