#pragma once

#include <string>
#include <vector>

#include "model/Problem.h"

namespace quarmel {

// The chart page's rules for its axis lists and display-range controls, free of widgets.

// What the axis lists choose. The X list holds the variables; the Y list holds "-" first, then
// the variables (none when there is only one). An index of -1 means nothing is chosen.
struct AxisChoice {
    int XIndex = -1;  // the lists' indexes after the choice
    int YIndex = -1;
    int XVariable = 0;  // the variables drawn along the axes (YVariable -1 for "-")
    int YVariable = 0;
    bool TwoAxes = false;  // a surface over X and Y, or a curve over X alone
};

// The axes for `variableCount` variables from the lists' current indexes and the Y list's
// length: X defaults to the first variable and Y to the second; with one variable both lists
// go to their first entry.
AxisChoice ChooseAxes(int variableCount, int xIndex, int yIndex, int yCount);

// Whether a surface over X and Y is drawn for the lists' current indexes: ChooseAxes' answer,
// for the range controls' handlers, which resample with the axes chosen last.
inline bool TwoAxesChosen(int variableCount, int xIndex, int yIndex, int yCount) {
    return ChooseAxes(variableCount, xIndex, yIndex, yCount).TwoAxes;
}

// The axis lists for the variables read: X lists the variables, Y "-" and then the variables
// (only "-" for a single variable). Nothing is chosen after a refill, except that Y takes back
// the entry it had (`rememberedY`) when the new list still has one there.
struct AxisLists {
    std::vector<std::string> X;
    std::vector<std::string> Y;
    int YIndex = -1;
};
AxisLists MakeAxisLists(const std::vector<std::string>& variableNames, int rememberedY);

// Whether a typed range limit lies within its scroll bar's range (the ends included).
inline bool WithinBar(double value, int low, int high) {
    return !(value < low || value > high);
}

// Whole units of a limit, toward zero, kept within what a scroll bar can hold.
int WholeUnits(float value);

// A limit as the range edits show it: the shortest text of the float itself, so a bound typed
// as 0,2 shows as 0,2 and not as the digits of its widened binary value.
std::string LimitText(float value);

// The scroll bars' range for a variable; a minimum above the maximum still gives a usable range.
struct BarRange {
    int Low = 0;
    int High = 0;
};
BarRange RangeBarLimits(const VariableSpec& variable);

// Keeps a range's minimum below its maximum: the position the moved bar takes (one step past the
// other bar), or its own position when the two are in order. The bar's own limits win after.
int OrderedPosition(int minimum, int maximum, bool minimumMoved);

}  // namespace quarmel
