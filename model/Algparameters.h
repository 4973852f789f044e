#pragma once

#include "Problem.h"

namespace quarmel {

// Which algorithm a run executes; any other value runs nothing.
enum AlgorithmKind : int { Greedy = 0, Steepest = 1, SimulatedAnnealing = 2, Genetic = 3 };

// Everything a run needs besides the algorithm's kind: the problem followed by the settings of
// all four algorithms, each starting at the value the option pages show at start-up.
struct AlgParameters : Problem {
    // Local searches.
    float A = 0.05f;  // neighbourhood radius as a fraction of each variable's range
    // Simulated annealing.
    int Temp0 = 100;
    int TempPlus = 15;
    int PercentAc = 95;
    int Lk = 8;
    float Alfa = 0.96f;
    float Stop = 0.6f;
    // Genetic algorithm.
    int PopSize = 500;
    int Iterations = 200;
    int TournamentSize = 5;
    float COProbab = 30.0f;
    float COA = 0.6f;
    float MProbab = 40.0f;
    int SelectionType = 0;  // 0 Tournament, 1 Roulette
    int CrossoverType = 2;  // 0 OnePoint, 1 TwoPoint, 2 ArithmeticUniform
    float MutA = 0.01f;
    // Delays in milliseconds.
    int LocalSleep = 200;
    int GeneticSleep = 1500;
};

}  // namespace quarmel
