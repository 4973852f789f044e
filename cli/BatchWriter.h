#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "app/runs/BatchRun.h"

namespace quarmel {

struct BatchPlan;

// Where a writer's text goes: standard output, or a string in tests.
using BatchPrint = std::function<void(const std::string& text)>;

// One output format of the batch runner (--format NAME). The runner hands it every run of the
// plan in order, series by series and seed by seed, on the thread that made the writer; it
// prints through `print` what the plan asks for.
class BatchWriter {
  public:
    BatchWriter(const BatchPlan& plan, BatchPrint print) : plan_(plan), print_(std::move(print)) {}
    virtual ~BatchWriter() = default;
    // What the format needs a run to record, set before the run is made.
    virtual void Prepare(RunLimits& /*limits*/, std::size_t /*series*/,
                         std::uint32_t /*seed*/) const {}
    virtual void Begin() {}
    virtual void Run(const RunOutcome& run, std::size_t series) = 0;
    virtual void End() {}
    // Why the writer could not write its own files (empty when it could).
    virtual std::string Failure() const { return {}; }

  protected:
    const BatchPlan& plan_;
    BatchPrint print_;
};

using BatchWriterFactory = std::unique_ptr<BatchWriter> (*)(const BatchPlan& plan,
                                                            BatchPrint print);

// The --format names, in the order --help lists them.
std::vector<std::string> BatchFormatNames();

// What --help says of each format: its name with its argument ("ioh DIR") and the table it
// prints, in the order --help lists them.
struct BatchFormatHelp {
    std::string Label, Text;
};
std::vector<BatchFormatHelp> BatchFormatsHelp();

// The writer of a --format name; nullptr for a name that is none.
BatchWriterFactory FindBatchWriter(const std::string& name);

}  // namespace quarmel
