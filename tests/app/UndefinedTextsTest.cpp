#include <gtest/gtest.h>

#include "app/UndefinedTexts.h"

TEST(UndefinedTexts, TheCountGroupsItsDigitsAndIsEmptyWithoutUndefinedValues) {
    EXPECT_EQ(quarmel::UndefinedCountText(0, 1225601), "");
    EXPECT_EQ(quarmel::UndefinedCountText(412, 1225601),
              "412 of 1,225,601 evaluations undefined, counted as 0");
    EXPECT_EQ(quarmel::UndefinedCountText(1000, 100000),
              "1,000 of 100,000 evaluations undefined, counted as 0");
    EXPECT_EQ(quarmel::UndefinedShortText(0), "");
    EXPECT_EQ(quarmel::UndefinedShortText(1225601), "1,225,601 undefined");
}
