#include <gtest/gtest.h>

#include "app/text/RunTexts.h"

using namespace quarmel;

TEST(RunTexts, ASeedIsAWholeNumberOfThirtyTwoBitsAndNothingElse) {
    const std::pair<const char*, std::optional<std::uint32_t>> cases[] = {
        {"0", 0u},
        {"4294967295", 4294967295u},
        {"007", 7u},
        {"", std::nullopt},
        {"4294967296", std::nullopt},
        {"-1", std::nullopt},
        {"+1", std::nullopt},
        {" 1", std::nullopt},
        {"1 ", std::nullopt},
        {"1.5", std::nullopt},
        {"0x10", std::nullopt},
        {"x", std::nullopt},
    };
    for (const auto& [text, seed] : cases) EXPECT_EQ(ParseSeed(text), seed) << text;
}

TEST(RunTexts, SecondsHaveThreeDecimalsAndAPoint) {
    EXPECT_EQ(SecondsText(0), "0.000");
    EXPECT_EQ(SecondsText(1.25), "1.250");
    EXPECT_EQ(SecondsText(12345.6789), "12345.679");
}

TEST(RunTexts, AFixedSeedThatIsNotASeedIsRefusedNotReplacedByTheClock) {
    const struct {
        bool fixed;
        const char* text;
        std::uint32_t seed;
        const char* refusal;
    } cases[] = {
        {false, "", 77, ""},
        {false, "9999999999", 77, ""},
        {true, "4294967295", 4294967295u, ""},
        {true, "0", 0, ""},
        {true, "", 0, "Fixed seed needs a whole number from 0 to 4294967295, not ''."},
        {true, "9999999999", 0,
         "Fixed seed needs a whole number from 0 to 4294967295, not '9999999999'."},
    };
    for (const auto& c : cases) {
        const SeedChoice choice = ChooseSeed(c.fixed, c.text, 77);
        EXPECT_EQ(choice.Refusal, c.refusal) << c.text;
        if (choice.Refusal.empty()) {
            EXPECT_EQ(choice.Seed, c.seed) << c.text;
        }
    }
}
