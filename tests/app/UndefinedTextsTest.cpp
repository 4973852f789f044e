#include <gtest/gtest.h>

#include "app/UndefinedTexts.h"

using namespace quarmel;

TEST(UndefinedTexts, TheCountGroupsItsDigitsAndIsEmptyWithoutUndefinedValues) {
    const struct {
        unsigned long long undefined, evaluations;
        const char* text;
    } cases[] = {
        {0, 1225601, ""},
        {412, 1225601, "412 of 1,225,601 evaluations undefined, counted as 0"},
        {1000, 1000, "1,000 of 1,000 evaluations undefined, counted as 0"},
        {1, 100000, "1 of 100,000 evaluations undefined, counted as 0"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(UndefinedCountText(c.undefined, c.evaluations), c.text) << c.evaluations;
    }
}
