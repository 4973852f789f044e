#pragma once

#include "model/Problem.h"

namespace quarmel {

// Which algorithm a run executes: a row of the algorithm table (algorithms/AlgorithmTable.h),
// whose first four rows are these; a value outside the table runs nothing.
enum AlgorithmKind : int { Greedy = 0, Steepest = 1, SimulatedAnnealing = 2, Genetic = 3 };

// Everything a run needs besides the algorithm's kind: the problem followed by the settings of
// all the algorithms. A new one holds the settings the option pages show at start-up (the
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
    // Reference algorithms: random search and pagmo2's CMA-ES, differential evolution and
    // particle swarm.
    int RandomSamples;
    int CmaPopSize;
    int CmaGenerations;
    float CmaSigma0;
    float CmaFtol;
    float CmaXtol;
    int DePopSize;
    int DeGenerations;
    float DeF;
    float DeCR;
    int DeVariant;
    float DeFtol;
    float DeXtol;
    int PsoPopSize;
    int PsoGenerations;
    float PsoOmega;
    float PsoEta1;
    float PsoEta2;
    float PsoMaxVel;
    int PsoVariant;
    // Delays in milliseconds.
    int LocalSleep;
    int GeneticSleep;
    int ReferenceSleep;
};

}  // namespace quarmel
