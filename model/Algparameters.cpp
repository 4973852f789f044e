#include "model/Algparameters.h"

namespace quarmel {

const char* AlgorithmName(AlgorithmKind kind) {
    switch (kind) {
        case Greedy:
            return "greedy";
        case Steepest:
            return "steepest";
        case SimulatedAnnealing:
            return "annealing";
        case Genetic:
            return "genetic";
    }
    return "unknown";
}

}  // namespace quarmel
