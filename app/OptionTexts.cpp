#include "OptionTexts.h"

#include "NumberText.h"

namespace quarmel {

namespace {

float Decimal(const std::string& text) {
    return static_cast<float>(TextToFloat(text));
}

}  // namespace

void ReadOptionTexts(const OptionPageTexts& t, AlgParameters& p) {
    p.A = Decimal(t.A);
    p.Temp0 = TextToInt(t.Temp0);
    p.TempPlus = TextToInt(t.TempPlus);
    p.PercentAc = TextToInt(t.PercentAc);
    p.Lk = TextToInt(t.Lk);
    p.Alfa = Decimal(t.Alfa);
    p.Stop = Decimal(t.Stop);
    (void)TextToFloat(t.Ex);
    p.PopSize = TextToInt(t.PopSize);
    p.Iterations = TextToInt(t.Iterations);
    p.TournamentSize = TextToInt(t.TournamentSize);
    p.COProbab = Decimal(t.COProbab);
    p.COA = Decimal(t.COA);
    p.MProbab = Decimal(t.MProbab);
    p.MutA = Decimal(t.MutA);
    if (t.Tournament) p.SelectionType = 0;
    if (t.Roulette) p.SelectionType = 1;
    if (t.OnePoint) p.CrossoverType = 0;
    if (t.TwoPoint) p.CrossoverType = 1;
    if (t.Arithmetic) p.CrossoverType = 2;
    p.LocalSleep = TextToInt(t.LocalSleep);
    p.GeneticSleep = TextToInt(t.GeneticSleep);
}

}  // namespace quarmel
