#pragma once

#include "Problem.h"

namespace quarmel {

// Which algorithm a run executes; any other value runs nothing.
enum AlgorithmKind : int { Greedy = 0, Steepest = 1, SimulatedAnnealing = 2, Genetic = 3 };

// An algorithm's name on the command line and in tables: greedy, steepest, annealing, genetic.
const char* AlgorithmName(AlgorithmKind kind);

// Everything a run needs besides the algorithm's kind: the problem followed by the settings of
// all four algorithms. A new one holds the settings the option pages show at start-up (the
// settings table in Settings.h has each one's start value, range and name).
struct AlgParameters : Problem {
    AlgParameters();

    // Local searches.
    float A;  // neighbourhood radius as a fraction of each variable's range
    // Simulated annealing.
    int Temp0;
    int TempPlus;
    int PercentAc;
    int Lk;
    float Alfa;
    float Stop;
    // Genetic algorithm.
    int PopSize;
    int Iterations;
    int TournamentSize;
    float COProbab;
    float COA;
    float MProbab;
    int SelectionType;  // 0 Tournament, 1 Roulette
    int CrossoverType;  // 0 OnePoint, 1 TwoPoint, 2 ArithmeticUniform
    float MutA;
    // Delays in milliseconds.
    int LocalSleep;
    int GeneticSleep;
};

}  // namespace quarmel
