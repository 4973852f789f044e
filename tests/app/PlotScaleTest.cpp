#include "app/PlotScale.h"

#include <gtest/gtest.h>

#include <cmath>
#include <utility>

#include "support/SolutionSupport.h"

namespace quarmel {
namespace {

using testing::ListOf;
using testing::Make;

ConvergenceCurve Curve(const std::vector<float>& values) {
    ConvergenceCurve curve;
    SolutionList list;
    for (float v : values) list.Append(Make({}, v));
    curve.Update(list);
    return curve;
}

using Points = std::vector<std::pair<double, double>>;

Points Pairs(const std::vector<PlotPoint>& points) {
    Points pairs;
    for (const PlotPoint& p : points) pairs.emplace_back(p.X, p.Y);
    return pairs;
}

TEST(PlotScale, TheCurveBoxLeavesRoomForTheLabels) {
    const PlotBox box = CurveBox({5, 10, 520, 320}, 60, 15);
    EXPECT_EQ(box.Left, 73);  // the labels' 60 and 8 apart
    EXPECT_EQ(box.Top, 18);
    EXPECT_EQ(box.Right(), 513);
    EXPECT_EQ(box.Bottom(), 292);  // two lines and 8 pixels above the area's bottom, 330
}

// The box spans 10..110 across and 20..70 down.
TEST(PlotScale, MapsStepsAndValuesIntoTheBox) {
    const float nan = std::nanf("");
    struct Case {
        bool log;
        std::vector<float> values;
        double lastStep;
        std::vector<std::pair<double, std::optional<double>>> rows;  // a value and its row
    };
    const Case cases[] = {
        {false, {1, 5, 3, nan}, 3, {{1, 70}, {5, 20}, {3, 45}, {-3, 120}, {nan, std::nullopt}}},
        // Logarithms from -2 to 2; nothing at or below zero.
        {true, {0.01f, -1, 100, 0, 1}, 4, {{0.01, 70}, {1, 45}, {100, 20}, {0, std::nullopt}}},
        // A single value sits in the middle; a single step still spans the box.
        {false, {4}, 1, {{4, 45}}},
    };
    for (const Case& c : cases) {
        PlotScale scale(c.log, {10, 20, 100, 50});
        scale.Fit(Curve(c.values));
        EXPECT_EQ(scale.LastStep(), c.lastStep);
        EXPECT_DOUBLE_EQ(scale.X(0), 10);
        EXPECT_DOUBLE_EQ(scale.X(c.lastStep / 2), 60);
        for (const auto& [value, row] : c.rows) {
            const std::optional<double> y = scale.Y(value);
            ASSERT_EQ(y.has_value(), row.has_value()) << value;
            if (row) EXPECT_NEAR(*y, *row, 1e-6) << value;
        }
    }
}

TEST(PlotScale, FitsEveryCurveAndThePopulationMeans) {
    PlotScale scale(false, {0, 0, 4, 8});
    ConvergenceCurve genetic(true);
    genetic.Update(ListOf({Make({}, 3)}));
    genetic.AddPopulationMean(ListOf({Make({}, 1), Make({}, 3)}));  // 2
    genetic.Update(ListOf({Make({}, 3), Make({}, 4), Make({}, 5)}));
    genetic.AddPopulationMean(ListOf({Make({}, 8)}));
    scale.Fit(genetic);
    scale.Fit(Curve({0, 1, 1, 1, 1}));
    EXPECT_EQ(scale.LastStep(), 4);
    EXPECT_DOUBLE_EQ(*scale.Y(8), 0);  // the highest value is a mean
    EXPECT_DOUBLE_EQ(*scale.Y(0), 8);
    // One point per generation with a mean, at its step.
    EXPECT_EQ(Pairs(scale.MeanLine(genetic.Means())), (Points{{0, 6}, {2, 0}}));
}

TEST(PlotScale, ThinsACurveToTheLowestAndHighestValueOfEachColumn) {
    // Two pixels wide: steps 0..4 fall in the columns 0, 1, 1, 2, 2 (halves round up).
    PlotScale scale(false, {0, 0, 2, 3});
    const std::vector<float> values = {1, 4, 2, std::nanf(""), 3};
    scale.Fit(Curve(values));  // row = 4 - value
    EXPECT_EQ(Pairs(scale.Thinned(values)),
              (Points{{0, 3}, {0, 3}, {1, 2}, {1, 0}, {2, 1}, {2, 1}}));

    // A column with nothing to show has no stroke.
    PlotScale log(true, {0, 0, 2, 2});
    const std::vector<float> logValues = {1, -5, 100};
    log.Fit(Curve(logValues));  // row = 2 - logarithm
    EXPECT_EQ(Pairs(log.Thinned(logValues)), (Points{{0, 2}, {0, 2}, {2, 0}, {2, 0}}));

    // However long the curve, two points per column of the box.
    PlotScale wide(false, {0, 0, 10, 10});
    std::vector<float> many;
    for (int i = 0; i < 1000; ++i) many.push_back(static_cast<float>(i % 7));
    wide.Fit(Curve(many));
    EXPECT_EQ(wide.Thinned(many).size(), 22u);
}

TEST(PlotScale, FiveEvenTicksLabelledWithTheValuesNotTheirLogarithms) {
    PlotScale linear(false, {0, 0, 10, 80});
    linear.Fit(Curve({8, 0}));
    PlotScale log(true, {0, 0, 10, 80});
    log.Fit(Curve({100, 0.01f}));
    const std::pair<const PlotScale*, std::vector<std::string>> cases[] = {
        {&linear, {"0", "2", "4", "6", "8"}}, {&log, {"0,01", "0,1", "1", "10", "100"}}};
    for (const auto& [scale, labels] : cases) {
        const std::vector<ValueTick> ticks = scale->Ticks();
        ASSERT_EQ(ticks.size(), 5u);
        for (std::size_t i = 0; i < 5; ++i) {
            EXPECT_DOUBLE_EQ(ticks[i].Y, 80 - 20.0 * i);
            EXPECT_EQ(ticks[i].Label, labels[i]);
        }
    }
    // Nothing to show: no ticks.
    PlotScale none(true, {0, 0, 10, 80});
    none.Fit(Curve({-1, 0}));
    EXPECT_FALSE(none.HasValues());
    EXPECT_TRUE(none.Ticks().empty());
}

}  // namespace
}  // namespace quarmel
