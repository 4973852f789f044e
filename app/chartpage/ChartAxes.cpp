#include "app/chartpage/ChartAxes.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "app/text/NumberText.h"

namespace quarmel {

AxisChoice ChooseAxes(int variableCount, int xIndex, int yIndex, int yCount) {
    AxisChoice c;
    c.XIndex = xIndex == -1 ? 0 : xIndex;
    c.XVariable = c.XIndex;
    c.YIndex = yIndex;
    if (yIndex == -1) {
        c.YVariable = 1;
        if (yCount > 2) c.YIndex = 2;
    } else {
        c.YVariable = yIndex - 1;
    }
    c.TwoAxes = variableCount > 1 && c.YIndex != 0;
    if (!c.TwoAxes && variableCount == 1) {
        c.XIndex = 0;
        c.YIndex = 0;
        c.XVariable = 0;
    }
    return c;
}

AxisLists MakeAxisLists(const std::vector<std::string>& variableNames, int rememberedY) {
    AxisLists lists;
    lists.Y.push_back("-");
    for (const std::string& name : variableNames) {
        lists.X.push_back(name);
        if (variableNames.size() != 1) lists.Y.push_back(name);
    }
    if (rememberedY != -1 && rememberedY < static_cast<int>(lists.Y.size())) {
        lists.YIndex = rememberedY;
    }
    return lists;
}

int WholeUnits(float value) {
    const double limit = std::numeric_limits<int>::max() / 2;
    if (std::isnan(value)) return 0;
    return static_cast<int>(std::trunc(std::fmax(-limit, std::fmin(limit, double(value)))));
}

std::string LimitText(float value) {
    if (!std::isfinite(value)) return ShortestText(value);
    for (int digits = 1; digits < 9; ++digits) {
        const double rounded = TextToFloat(GeneralText(value, digits));
        if (static_cast<float>(rounded) == value) return ShortestText(rounded);
    }
    return ShortestText(value);
}

BarRange RangeBarLimits(const VariableSpec& v) {
    const int a = WholeUnits(v.Min);
    const int b = WholeUnits(v.Max);
    return {std::min(a, b), std::max(a, b)};
}

int OrderedPosition(int minimum, int maximum, bool minimumMoved) {
    if (minimum < maximum) return minimumMoved ? minimum : maximum;
    return minimumMoved ? maximum - 1 : minimum + 1;
}

}  // namespace quarmel
