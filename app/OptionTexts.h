#pragma once

#include <string>

#include "model/Algparameters.h"

namespace quarmel {

// The texts and radio buttons of the two option pages, as the window holds them; every member
// starts as the page shows it at start-up (two edits differ from their track bars then: the
// local delay says 200 and the iterations say 200).
struct OptionPageTexts {
    // "Local Alg."
    std::string LocalSleep = "200";
    std::string A = "0,05";
    std::string Temp0 = "100";
    std::string TempPlus = "15";
    std::string PercentAc = "95";
    std::string Lk = "8";
    std::string Alfa = "0,96";
    std::string Stop = "0,6";
    std::string Ex = "15";  // hidden; converted in its turn but carries no setting
    // "Genetic Alg."
    std::string Iterations = "200";
    std::string PopSize = "500";
    std::string GeneticSleep = "1500";
    std::string TournamentSize = "5";
    std::string COA = "0,6";
    std::string COProbab = "30";
    std::string MutA = "0,01";
    std::string MProbab = "40";
    bool Tournament = true;
    bool Roulette = false;
    bool OnePoint = false;
    bool TwoPoint = false;
    bool Arithmetic = true;
};

// Converts the texts into the settings in the pages' reading order: A, Temp0, TempPlus,
// PercentAc, Lk, Alfa, Stop, Ex, PopSize, Iterations, TournamentSize, COProbab, COA, MProbab,
// MutA, the two radio groups, LocalSleep, GeneticSleep. Decimal texts use the decimal comma.
// A text that does not convert throws ConversionError; the settings converted before it keep
// their new values. A radio group with nothing checked leaves its field as it was.
void ReadOptionTexts(const OptionPageTexts& texts, AlgParameters& params);

}  // namespace quarmel
