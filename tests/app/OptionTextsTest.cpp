#include <gtest/gtest.h>

#include "app/text/NumberText.h"
#include "app/text/OptionTexts.h"

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
    t["A"] = "0,002";
    t["Lk"] = "3";
    t["Alfa"] = "0.5";  // decimals are read with the comma
    t["PopSize"] = "10";
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
    EXPECT_EQ(p.Stop, 0.777f);
    EXPECT_EQ(p.PopSize, 77);
    EXPECT_EQ(p.LocalSleep, 77);

    p = Scrambled();
    t = OptionPageTexts{};
    t["Ex"] = "x";  // the hidden field carries nothing but is still converted
    EXPECT_THROW(ReadOptionTexts(t, p), ConversionError);
    EXPECT_EQ(p.Stop, 0.6f);
    EXPECT_EQ(p.PopSize, 77);

    p = Scrambled();
    t = OptionPageTexts{};
    t["GeneticSleep"] = "1,5";
    EXPECT_THROW(ReadOptionTexts(t, p), ConversionError);
    EXPECT_EQ(p.CrossoverType, 2);
    EXPECT_EQ(p.LocalSleep, 200);
}

TEST(ReadOptionTexts, RadioGroupsAndNoneChecked) {
    AlgParameters p = Scrambled();
    OptionPageTexts t;
    t["SelectionType"] = "1";  // Roulette checked
    t["CrossoverType"] = "1";  // 2 - point checked
    ReadOptionTexts(t, p);
    EXPECT_EQ(p.SelectionType, 1);
    EXPECT_EQ(p.CrossoverType, 1);

    p = Scrambled();
    t["SelectionType"] = t["CrossoverType"] = "";  // nothing checked
    ReadOptionTexts(t, p);
    EXPECT_EQ(p.SelectionType, 9);
    EXPECT_EQ(p.CrossoverType, 9);
}

// The option pages' track bars: range, start position, the edit's start text and the text of
// one other position, as the pages show them.
TEST(OptionPageSettings, BarsAndTextsAsThePagesShowThem) {
    struct Row {
        const char* name;
        int min, max, position;
        const char* text;
        int otherPosition;
        const char* otherText;
    };
    const Row rows[] = {
        {"LocalSleep", 0, 10000, 500, "200", 0, "0"},
        {"A", 1, 1000, 50, "0,05", 37, "0,037"},
        {"Temp0", 0, 200, 100, "100", 7, "7"},
        {"TempPlus", 0, 100, 15, "15", 100, "100"},
        {"PercentAc", 0, 100, 95, "95", 0, "0"},
        {"Lk", 0, 100, 8, "8", 9, "9"},
        {"Alfa", 0, 100, 96, "0,96", 100, "1"},
        {"Stop", 0, 100, 60, "0,6", 0, "0"},
        {"Iterations", 1, 1000, 100, "200", 1000, "1000"},
        {"PopSize", 1, 1000, 500, "500", 1, "1"},
        {"GeneticSleep", 0, 10000, 1500, "1500", 10000, "10000"},
        {"TournamentSize", 0, 100, 5, "5", 0, "0"},
        {"COA", 0, 100, 60, "0,6", 7, "0,07"},
        {"COProbab", 0, 100, 30, "30", 55, "55"},
        {"MutA", 1, 1000, 10, "0,01", 250, "0,25"},
        {"MProbab", 0, 100, 40, "40", 3, "3"},
    };
    for (const Row& row : rows) {
        const SettingSpec* s = FindSetting(row.name);
        ASSERT_NE(s, nullptr) << row.name;
        EXPECT_EQ(s->MinPosition, row.min) << row.name;
        EXPECT_EQ(s->MaxPosition, row.max) << row.name;
        EXPECT_EQ(s->StartPosition, row.position) << row.name;
        EXPECT_EQ(StartText(*s), row.text) << row.name;
        EXPECT_EQ(PositionText(*s, row.otherPosition), row.otherText) << row.name;
    }
    EXPECT_EQ(StartText(*FindSetting("Ex")), "15");
    EXPECT_EQ(FindSetting("Speed"), nullptr);
}

// The pages lay their settings out group by group, each group by place, whatever the table's
// (reading) order.
TEST(OptionPageSettings, EachPageInItsLayoutOrder) {
    const std::vector<std::string> local = {"LocalSleep", "A",    "Temp0", "TempPlus", "PercentAc",
                                            "Lk",         "Alfa", "Stop",  "Ex"};
    const std::vector<std::string> genetic = {
        "Iterations",    "PopSize", "GeneticSleep", "SelectionType", "TournamentSize",
        "CrossoverType", "COA",     "COProbab",     "MutA",          "MProbab"};
    for (bool isGenetic : {false, true}) {
        std::vector<std::string> names;
        for (const SettingSpec* s :
             PageSettings(isGenetic ? SettingPage::Genetic : SettingPage::Local)) {
            names.push_back(s->Name);
        }
        EXPECT_EQ(names, isGenetic ? genetic : local);
    }
}

// A radio group has a button for each value and none beyond.
TEST(OptionPageSettings, ChoicesNameOneButtonPerValue) {
    for (std::size_t i = 0; i < kSettingCount; ++i) {
        const SettingSpec& s = kSettings[i];
        const int buttons = s.Kind == SettingKind::Choice ? s.MaxPosition + 1 : 0;
        ASSERT_LE(buttons, kMaxChoices) << s.Name;
        for (int b = 0; b < kMaxChoices; ++b) {
            EXPECT_EQ(s.Choices[b].ObjectName != nullptr, b < buttons) << s.Name << " " << b;
            EXPECT_EQ(s.Choices[b].Caption != nullptr, b < buttons) << s.Name << " " << b;
        }
    }
}
