// --format ioh DIR: the runs as IOHprofiler data, which IOHanalyzer reads. Each algorithm with its
// settings (a combination of the grid) is a folder of DIR holding, for the function with id P
// (StableFunctionId: the same in every call) of dimension D:
//   IOHprofiler_fP_NAME.info         the meta-data: a line of keys, a "%" comment line with the
//                                    program's version, the problem file and the command (as a
//                                    shell reads them back), and the data file's path with each
//                                    run's "1:evaluations|best"
//   data_fP_NAME/IOHprofiler_fP_DIMD.dat  each run: the header line, then a row
//                                    "evaluations current best-so-far" per improvement of the best
//                                    value, the last row at the run's final evaluation count.
// The folder is written under a temporary name beside DIR and takes DIR's name when complete;
// a failed write removes it, so DIR never holds half an experiment.
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "algorithms/AlgorithmTable.h"
#include "app/tables/CsvTables.h"
#include "app/tables/FunctionId.h"
#include "cli/BatchPlan.h"
#include "cli/BatchWriter.h"
#include "model/Settings.h"

namespace quarmel {

namespace {

namespace fs = std::filesystem;

std::string Trimmed(const std::string& text) {
    const std::size_t from = text.find_first_not_of(" \t");
    return from == std::string::npos ? ""
                                     : text.substr(from, text.find_last_not_of(" \t") + 1 - from);
}

bool Plain(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' ||
           c == '_';
}

// A name for a file: letters, digits, "-" and "_", anything else "_", and at most 64 of them, so
// that no function name makes a path too long (the id tells functions apart).
std::string FileNamePart(const std::string& text) {
    std::string out;
    for (const char c : Trimmed(text)) out += Plain(c) ? c : '_';
    if (out.size() > 64) out.resize(64);
    return out.empty() ? "_" : out;
}

// A word as a POSIX shell reads it back: as it is when plain, else in single quotes, with $'...'
// for a word holding a line break or another control character.
std::string ShellWord(const std::string& word) {
    bool plain = !word.empty(), control = false;
    for (const char c : word) {
        plain = plain && (Plain(c) || c == '.' || c == '/' || c == '=' || c == ',' || c == '+');
        control = control || static_cast<unsigned char>(c) < 0x20 || c == 0x7f;
    }
    if (plain) return word;
    std::string out = control ? "$'" : "'";
    for (const char c : word) {
        if (!control) {
            out += c == '\'' ? std::string("'\\''") : std::string(1, c);
        } else if (c == '\'' || c == '\\') {
            out += std::string("\\") + c;
        } else if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f) {
            static const char hex[] = "0123456789abcdef";
            out += std::string("\\x") + hex[(c >> 4) & 15] + hex[c & 15];
        } else {
            out += c;
        }
    }
    return out + "'";
}

// A value of the info file's keys or comment: without the quote, comma or line break that would
// end it early.
std::string InfoText(const std::string& text) {
    std::string out;
    for (const char c : Trimmed(text))
        out += c == '\'' || c == ',' || c == '\n' || c == '\r' ? ' ' : c;
    return out;
}

class IohWriter : public BatchWriter {
  public:
    using BatchWriter::BatchWriter;

    void Begin() override {
        fs::path folder = fs::path(*plan_.IohFolder).lexically_normal();
        if (!folder.has_filename()) folder = folder.parent_path();
        folder_ = folder;
        root_ = folder.string() + ".partial-" + std::to_string(getpid());
        std::error_code ec;
        fs::remove_all(root_, ec);  // left by a killed run of this process id
    }

    void Prepare(RunLimits& limits, std::size_t, std::uint32_t) const override {
        limits.KeepTrace = true;
    }
    void Run(const RunOutcome& run, std::size_t series) override {
        if (!failure_.empty()) return;
        if (series != series_) {
            Finish();
            Start(series);
        }
        data_ << "\"function evaluation\" \"current f(x)\" \"best-so-far f(x)\"\n";
        std::optional<float> best;
        unsigned long long last = 0;
        float current = 0;
        for (const TraceStep& t : run.Trace) {
            current = t.Value;
            if (best && !(t.BestSoFar != *best)) continue;
            best = t.BestSoFar;
            last = t.Evaluations;
            data_ << t.Evaluations << ' ' << FloatText(t.Value) << ' ' << FloatText(*best) << '\n';
        }
        if (best && last < run.Evaluations) {
            data_ << run.Evaluations << ' ' << FloatText(current) << ' ' << FloatText(*best)
                  << '\n';
        }
        runs_ += ", 1:" + std::to_string(run.Evaluations) + "|" +
                 (best ? FloatText(*best) : std::string("nan"));
        if (!data_) Fail(dataPath_);
    }
    void End() override {
        Finish();
        std::error_code ec;
        if (failure_.empty()) {
            fs::rename(root_, folder_, ec);  // over DIR only when it is empty
            if (ec) Fail(folder_, ec.message());
        }
        if (!failure_.empty()) fs::remove_all(root_, ec);
    }
    std::string Failure() const override { return failure_; }

  private:
    void Start(std::size_t series) {
        series_ = series;
        const PlannedSeries& s = plan_.Series[series];
        const PlannedProblem& p = plan_.Problems[s.Problem];
        std::string folder = AlgorithmName(plan_.Algorithm);
        if (plan_.Combinations > 1) folder += "-" + std::to_string(s.Combination + 1);
        const std::uint32_t id = StableFunctionId(p.Opened.FunctionName, *s.Params);
        const std::string f = "f" + std::to_string(id);
        const std::string name = f + "_" + FileNamePart(p.Opened.FunctionName);
        const std::string dim = std::to_string(s.Params->Variables().size());
        const std::string data = "data_" + name + "/IOHprofiler_" + f + "_DIM" + dim + ".dat";
        infoPath_ = root_ / folder / ("IOHprofiler_" + name + ".info");
        dataPath_ = infoPath_.parent_path() / data;
        std::error_code ec;
        fs::create_directories(dataPath_.parent_path(), ec);
        if (ec) return Fail(dataPath_.parent_path(), ec.message());
        data_.open(dataPath_, std::ios::binary | std::ios::trunc);
        if (!data_) return Fail(dataPath_);

        std::string algId = AlgorithmName(plan_.Algorithm);
        if (const std::string changed = ChangedSettingsText(*s.Params, plan_.Algorithm);
            !changed.empty()) {
            algId += " " + changed;
        }
        std::string command = "quarmel-batch";
        for (const std::string& arg : plan_.Command) command += " " + ShellWord(arg);
        info_ = "suite = 'quarmel', funcId = " + std::to_string(id) + ", funcName = '" +
                InfoText(p.Opened.FunctionName) + "', DIM = " + dim + ", maximization = '" +
                (s.Params->Maximize() ? "T" : "F") + "', algId = '" + InfoText(algId) +
                "'\n% quarmel-batch " QUARMEL_VERSION "; problem " + ShellWord(p.File) +
                "; command: " + command + "\n" + data;
        runs_.clear();
    }

    void Finish() {
        if (!data_.is_open() || !failure_.empty()) return;
        data_.close();
        if (!data_) return Fail(dataPath_);
        std::ofstream info(infoPath_, std::ios::binary | std::ios::trunc);
        info << info_ << runs_ << "\n";
        info.close();
        if (!info) Fail(infoPath_);
    }

    void Fail(const fs::path& path, const std::string& why = std::strerror(errno)) {
        if (failure_.empty()) failure_ = "cannot write '" + path.string() + "': " + why;
    }

    std::size_t series_ = static_cast<std::size_t>(-1);
    std::ofstream data_;
    fs::path folder_, root_;  // DIR, and the folder written until it is complete
    fs::path infoPath_, dataPath_;
    std::string info_, runs_, failure_;
};

}  // namespace

std::unique_ptr<BatchWriter> MakeIohWriter(const BatchPlan& plan, BatchPrint print) {
    return std::make_unique<IohWriter>(plan, std::move(print));
}

}  // namespace quarmel
