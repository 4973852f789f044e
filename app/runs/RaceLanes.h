#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "model/Algparameters.h"
#include "model/Solution.h"

namespace quarmel {

// The lanes of a race: several algorithms run at once from the same seed on the same problem.
// Keeps which lanes still run and each lane's best value so far, for the status line and the
// chart's legend; the window owns the workers.
class RaceLanes {
  public:
    struct Lane {
        AlgorithmKind Kind = Greedy;
        std::optional<float> Best;
        std::size_t Seen = 0;  // published solutions already looked at
        bool Running = true;
    };

    // A new race of these algorithms, all running; maximising or not decides what is best.
    void Start(const std::vector<AlgorithmKind>& kinds, bool maximize);
    // Ends the race: no lane runs any more.
    void Clear();
    // A lane's published solutions so far (a list that only grows) and whether it has ended.
    void Update(std::size_t lane, const SolutionList& published, bool finished);

    const std::vector<Lane>& Lanes() const { return lanes_; }
    std::size_t RunningCount() const;
    // Whether a race has lanes that still run.
    bool Running() const { return RunningCount() > 0; }
    // The status line while a race runs: "Race: 2 of 4 running".
    std::string StatusText() const;
    // A lane's line in the legend: its algorithm and best so far ("greedy  -3.5", "greedy  -").
    std::string LegendLine(std::size_t lane) const;

  private:
    std::vector<Lane> lanes_;
    bool maximize_ = false;
};

}  // namespace quarmel
