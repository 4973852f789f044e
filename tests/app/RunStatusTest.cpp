#include "app/RunStatus.h"

#include <gtest/gtest.h>

namespace quarmel {
namespace {

struct Shown {
    bool visible;
    int maximum;
    int value;
    std::string format;
    std::string stage;
};

void ExpectShown(const RunStatus& s, const Shown& e, const char* when) {
    EXPECT_EQ(s.BarVisible(), e.visible) << when;
    EXPECT_EQ(s.BarMaximum(), e.maximum) << when;
    EXPECT_EQ(s.BarValue(), e.value) << when;
    EXPECT_EQ(s.BarFormat(), e.format) << when;
    EXPECT_EQ(s.StageText(), e.stage) << when;
}

const char kGenerations[] = "Generation %v of %m";

// Each algorithm through a run: what it publishes, a stage, the end.
TEST(RunStatus, TheBarFollowsGenerationsAndTheStageOnlyTheAnnealing) {
    struct Case {
        AlgorithmKind kind;
        Shown started, afterFive, afterStage;
    };
    const Case cases[] = {
        {Genetic,
         {true, 20, 0, "", ""},
         {true, 20, 4, kGenerations, ""},
         {true, 20, 4, kGenerations, ""}},
        // A busy bar: the number of stages is known only at the end.
        {SimulatedAnnealing,
         {true, 0, 0, "", ""},
         {true, 0, 0, "", ""},
         {true, 0, 0, "", "Stage 4, cooling at 12,5"}},
        {Greedy, {false, 0, 0, "", ""}, {false, 0, 0, "", ""}, {false, 0, 0, "", ""}},
    };
    for (const Case& c : cases) {
        RunStatus s;
        s.Start(c.kind, 20, 7);
        ExpectShown(s, c.started, AlgorithmName(c.kind));
        s.Published(0);
        ExpectShown(s, c.started, AlgorithmName(c.kind));
        s.Published(5);
        ExpectShown(s, c.afterFive, AlgorithmName(c.kind));
        s.Stage(4, false, 12.5);
        ExpectShown(s, c.afterStage, AlgorithmName(c.kind));
        s.End();
        EXPECT_FALSE(s.BarVisible());
    }
}

TEST(RunStatus, ANewRunStartsAfreshButKeepsTheBarsText) {
    RunStatus s;
    s.Start(Genetic, 20, 7);
    EXPECT_EQ(s.SeedText(), "Seed 7");
    EXPECT_EQ(s.ElapsedText(), "0:00");
    s.Published(30);  // past the budget: the bar stays full
    EXPECT_EQ(s.BarValue(), 20);
    s.Elapsed(754);
    EXPECT_EQ(s.ElapsedText(), "12:34");
    s.End();

    s.Start(SimulatedAnnealing, 20, 4294967295u);
    s.Stage(1, true, 1000);
    ExpectShown(s, {true, 0, 0, kGenerations, "Stage 1, heating at 1000"}, "annealing");
    EXPECT_EQ(s.SeedText(), "Seed 4294967295");
    EXPECT_EQ(s.ElapsedText(), "0:00");
    s.Start(Genetic, 50, 1);
    ExpectShown(s, {true, 50, 0, kGenerations, ""}, "genetic again");
}

}  // namespace
}  // namespace quarmel
