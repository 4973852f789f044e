#include <gtest/gtest.h>

#include "app/NumberText.h"
#include "app/OptionTexts.h"

using namespace quarmel;

namespace {

// Settings that differ from every start value, so a field the reading misses shows.
AlgParameters Scrambled() {
    AlgParameters p;
    p.A = p.Alfa = p.Stop = p.COA = p.MutA = 0.777f;
    p.COProbab = p.MProbab = 77.0f;
    p.Temp0 = p.TempPlus = p.PercentAc = p.Lk = p.PopSize = p.Iterations = p.TournamentSize = 77;
    p.SelectionType = 9;
    p.CrossoverType = 9;
    p.LocalSleep = p.GeneticSleep = 77;
    return p;
}

}  // namespace

TEST(ReadOptionTexts, StartUpTextsGiveTheStartSettings) {
    AlgParameters p = Scrambled();
    ReadOptionTexts(OptionPageTexts{}, p);
    EXPECT_EQ(p.A, 0.05f);
    EXPECT_EQ(p.Temp0, 100);
    EXPECT_EQ(p.TempPlus, 15);
    EXPECT_EQ(p.PercentAc, 95);
    EXPECT_EQ(p.Lk, 8);
    EXPECT_EQ(p.Alfa, 0.96f);
    EXPECT_EQ(p.Stop, 0.6f);
    EXPECT_EQ(p.PopSize, 500);
    EXPECT_EQ(p.Iterations, 200);  // the edit's text, not its track bar's 100
    EXPECT_EQ(p.TournamentSize, 5);
    EXPECT_EQ(p.COProbab, 30.0f);
    EXPECT_EQ(p.COA, 0.6f);
    EXPECT_EQ(p.MProbab, 40.0f);
    EXPECT_EQ(p.MutA, 0.01f);
    EXPECT_EQ(p.SelectionType, 0);
    EXPECT_EQ(p.CrossoverType, 2);
    EXPECT_EQ(p.LocalSleep, 200);  // the edit's text, not its track bar's 500
    EXPECT_EQ(p.GeneticSleep, 1500);
}

TEST(ReadOptionTexts, ABadTextStopsTheReadingInPageOrder) {
    AlgParameters p = Scrambled();
    OptionPageTexts t;
    t.A = "0,002";
    t.Lk = "3";
    t.Alfa = "0.5";  // decimals are read with the comma
    t.PopSize = "10";
    try {
        ReadOptionTexts(t, p);
        FAIL() << "no error";
    } catch (const ConversionError& e) {
        EXPECT_STREQ(e.what(), "'0.5' is not a valid floating point value");
    }
    // Read before Alfa:
    EXPECT_EQ(p.A, 0.002f);
    EXPECT_EQ(p.Lk, 3);
    // Not reached:
    EXPECT_EQ(p.Alfa, 0.777f);
    EXPECT_EQ(p.PopSize, 77);
    EXPECT_EQ(p.LocalSleep, 77);

    p = Scrambled();
    t = OptionPageTexts{};
    t.Ex = "x";  // the hidden field carries nothing but is still converted
    EXPECT_THROW(ReadOptionTexts(t, p), ConversionError);
    EXPECT_EQ(p.Stop, 0.6f);
    EXPECT_EQ(p.PopSize, 77);

    p = Scrambled();
    t = OptionPageTexts{};
    t.GeneticSleep = "1,5";
    EXPECT_THROW(ReadOptionTexts(t, p), ConversionError);
    EXPECT_EQ(p.CrossoverType, 2);
    EXPECT_EQ(p.LocalSleep, 200);
}

TEST(ReadOptionTexts, RadioGroupsAndNoneChecked) {
    AlgParameters p = Scrambled();
    OptionPageTexts t;
    t.Tournament = false;
    t.Roulette = true;
    t.Arithmetic = false;
    t.TwoPoint = true;
    ReadOptionTexts(t, p);
    EXPECT_EQ(p.SelectionType, 1);
    EXPECT_EQ(p.CrossoverType, 1);

    p = Scrambled();
    t.Roulette = t.TwoPoint = false;
    ReadOptionTexts(t, p);
    EXPECT_EQ(p.SelectionType, 9);
    EXPECT_EQ(p.CrossoverType, 9);
}
