#include <gtest/gtest.h>

#include "app/text/UndefinedTexts.h"

TEST(UndefinedTexts, TheCountIsInPlainDigitsAndEmptyWithoutUndefinedValues) {
    EXPECT_EQ(quarmel::UndefinedCountText(0, 1225601), "");
    EXPECT_EQ(quarmel::UndefinedCountText(412, 1225601),
              "412 of 1225601 evaluations undefined, counted as 0");
    EXPECT_EQ(quarmel::UndefinedCountText(1000, 100000),
              "1000 of 100000 evaluations undefined, counted as 0");
    EXPECT_EQ(quarmel::UndefinedShortText(0), "");
    EXPECT_EQ(quarmel::UndefinedShortText(1225601), "1225601 undefined");
}
