#include "algorithms/Optimizationthread.h"

#include <time.h>

#include <chrono>
#include <system_error>
#include <thread>
#include <utility>

#include "algorithms/AlgorithmTable.h"
#include "algorithms/RunAlgorithm.h"

namespace quarmel {

namespace {

bool HasPopulation(AlgorithmKind kind) {
    return IsAlgorithm(kind) && AlgorithmOf(kind).Population;
}

}  // namespace

namespace {

std::uint64_t NextRunNumber() {
    static std::atomic<std::uint64_t> last{0};
    return last.fetch_add(1, std::memory_order_relaxed) + 1;
}

// The calling thread's own processor time: a sleeping or blocked thread does not add to it.
double ThreadCpuSeconds() {
    timespec t{};
    if (clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t) != 0) return 0.0;
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

}  // namespace

// The run control the worker's algorithm sees.
class OptimizationThread::Control final : public RunControl {
  public:
    explicit Control(OptimizationThread& owner) : owner_(owner) {
        WatchHoldRequests(owner_.pausedHint_);
    }

    void Publish(ListChangeRef change) override {
        std::unique_lock<std::mutex> lock(owner_.lock_);
        // Checked under the lock, so nothing is published once Hold has returned.
        owner_.WaitAtGate(lock);
        change();
        owner_.CountPublishedEvaluations();
        owner_.StoreCounts();
        owner_.RecordGeneration();
    }

    void Sleep(int ms) override {
        // No delay and no pause asked for: nothing to wait for, so no lock either.
        if (ms <= 0 && !owner_.pausedHint_.load(std::memory_order_acquire)) return;
        std::unique_lock<std::mutex> lock(owner_.lock_);
        if (ms > 0) {
            const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
            owner_.wake_.wait_until(lock, until, [this] { return owner_.stop_.load(); });
        }
        owner_.WaitAtGate(lock);
    }

    bool StopRequested() const override { return owner_.stop_.load(); }

    // The class is final, so these calls are direct.
    bool PublishStep(ListChangeRef change, int ms) override {
        Publish(change);
        Sleep(ms);
        return StopRequested();
    }

    void HoldAtGate() override {
        std::unique_lock<std::mutex> lock(owner_.lock_);
        owner_.WaitAtGate(lock);
    }

    std::uint32_t Seed() const override {
        return owner_.options_.seed ? *owner_.options_.seed : ClockSeed();
    }

    void StageBegins(long long stage, double temperature, bool heating) override {
        std::lock_guard<std::mutex> lock(owner_.lock_);
        owner_.stage_ = {stage, temperature, heating};
    }

  private:
    OptimizationThread& owner_;
};

std::shared_ptr<OptimizationThread> OptimizationThread::Start(const AlgParameters& params,
                                                              AlgorithmKind kind) {
    return Start(params, kind, Options{});
}

std::shared_ptr<OptimizationThread> OptimizationThread::Start(const AlgParameters& params,
                                                              AlgorithmKind kind, Options options) {
    std::shared_ptr<OptimizationThread> worker(
        new OptimizationThread(params, kind, std::move(options)));
    // The thread begins only now, with the worker complete; it keeps its own share of the
    // worker, so neither side waits for the other.
    try {
        std::thread([worker] { worker->Execute(); }).detach();
    } catch (const std::system_error&) {
        worker->finished_.store(true);  // no thread to be had: an empty run that has ended
    }
    return worker;
}

OptimizationThread::OptimizationThread(const AlgParameters& params, AlgorithmKind kind,
                                       Options options)
    : runNumber_(NextRunNumber()),
      kind_(kind),
      params_(params),  // deep-copies the parser, here on the caller's thread
      startEvaluations_(params_.Evaluations()),
      startUndefined_(params_.UndefinedEvaluations()),
      generations_(HasPopulation(kind) ? std::make_shared<GenerationStore>() : nullptr),
      options_(std::move(options)),
      control_(std::make_unique<Control>(*this)) {}

OptimizationThread::~OptimizationThread() = default;

void OptimizationThread::Execute() {
    if (options_.onThreadStart) options_.onThreadStart();
    cpuStart_ = ThreadCpuSeconds();
    try {
        if (!stop_.load()) {
            RunAlgorithm(kind_, params_, workList_, progress_, *control_);
        }
    } catch (...) {
        // A run that fails (out of memory) ends like any other; the lists keep what was
        // published.
    }
    StoreCounts(true);
    finished_.store(true, std::memory_order_release);
}

void OptimizationThread::StoreCounts(bool last) {
    evaluations_.store(params_.Evaluations() - startEvaluations_, std::memory_order_relaxed);
    undefined_.store(params_.UndefinedEvaluations() - startUndefined_, std::memory_order_relaxed);
    const auto now = std::chrono::steady_clock::now();
    if (!last && now - cpuReadAt_ < std::chrono::milliseconds(1)) return;
    cpuReadAt_ = now;
    cpuSeconds_.store(ThreadCpuSeconds() - cpuStart_, std::memory_order_relaxed);
}

void OptimizationThread::CountPublishedEvaluations() {
    const SolutionList& published = HasPopulation(kind_) ? progress_.History : workList_;
    // A cleared list starts over; every solution past the counted ones is new.
    if (published.Count() < publishedEvaluations_.size()) {
        publishedEvaluations_.resize(published.Count());
    }
    publishedEvaluations_.resize(published.Count(), params_.Evaluations() - startEvaluations_);
}

void OptimizationThread::RecordGeneration() {
    if (generations_ && progress_.History.Count() > generations_->Generations()) {
        generations_->Add(*progress_.Population);
    }
}

std::shared_ptr<const GenerationStore> OptimizationThread::TakeGenerations() {
    std::lock_guard<std::mutex> lock(lock_);
    return std::move(generations_);
}

void OptimizationThread::WaitAtGate(std::unique_lock<std::mutex>& lock) {
    if (!paused_ || stop_.load()) return;
    ++waitingAtGate_;
    wake_.wait(lock, [this] { return !paused_ || stop_.load(); });
    --waitingAtGate_;
}

SolutionList OptimizationThread::SnapshotSolutions() const {
    std::lock_guard<std::mutex> lock(lock_);
    return HasPopulation(kind_) ? progress_.History : workList_;
}

SolutionList OptimizationThread::SnapshotSolutionsFrom(std::size_t from) const {
    std::lock_guard<std::mutex> lock(lock_);
    const SolutionList& published = HasPopulation(kind_) ? progress_.History : workList_;
    SolutionList tail;
    if (from >= published.Count()) return tail;
    tail.Reserve(published.Count() - from, published.VariableCount());
    for (std::size_t i = from; i < published.Count(); ++i) tail.Append(published.At(i));
    return tail;
}

std::vector<unsigned long long> OptimizationThread::SnapshotEvaluationsFrom(
    std::size_t from) const {
    std::lock_guard<std::mutex> lock(lock_);
    if (from >= publishedEvaluations_.size()) return {};
    return {publishedEvaluations_.begin() + static_cast<long>(from), publishedEvaluations_.end()};
}

SolutionList OptimizationThread::SnapshotPopulation() const {
    if (!HasPopulation(kind_)) return SolutionList();
    // Copied under the lock and no reference kept: the run may then write the replaced
    // snapshot's storage again as soon as it has published the next one.
    std::lock_guard<std::mutex> lock(lock_);
    return *progress_.Population;
}

OptimizationThread::AnnealingStage OptimizationThread::Stage() const {
    std::lock_guard<std::mutex> lock(lock_);
    return stage_;
}

unsigned long long OptimizationThread::Evaluations() const {
    return evaluations_.load(std::memory_order_relaxed);
}

unsigned long long OptimizationThread::UndefinedEvaluations() const {
    return undefined_.load(std::memory_order_relaxed);
}

double OptimizationThread::CpuSeconds() const {
    return cpuSeconds_.load(std::memory_order_relaxed);
}

bool OptimizationThread::IsFinished() const {
    return finished_.load(std::memory_order_acquire);
}

void OptimizationThread::Terminate() {
    {
        std::lock_guard<std::mutex> lock(lock_);
        stop_.store(true);
    }
    wake_.notify_all();
}

bool OptimizationThread::TerminationRequested() const {
    return stop_.load();
}

void OptimizationThread::Hold() {
    std::lock_guard<std::mutex> lock(lock_);
    paused_ = true;
    pausedHint_.store(true, std::memory_order_release);
}

void OptimizationThread::Resume() {
    {
        std::lock_guard<std::mutex> lock(lock_);
        paused_ = false;
        pausedHint_.store(false, std::memory_order_release);
    }
    wake_.notify_all();
}

bool OptimizationThread::IsHeld() const {
    std::lock_guard<std::mutex> lock(lock_);
    return waitingAtGate_ > 0;
}

}  // namespace quarmel
