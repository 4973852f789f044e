#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

#include "model/Algparameters.h"

namespace quarmel {

// How a setting's text is read.
enum class SettingKind {
    Whole,    // a whole number
    Decimal,  // a number with decimals (stored in single precision)
    Choice,   // the number of a radio button in a group
    Ignored,  // a field that is converted in its turn but carries no setting
};

// The option pages' group boxes, laid out in this order; a name's first word is its page's.
enum class SettingGroup {
    LocalMain,
    LocalNeighbourhood,
    LocalAnnealing,
    GeneticMain,
    GeneticSelection,
    GeneticCrossover,
    GeneticMutation,
    ReferenceMain,
    RandomSearch,
    Cmaes,
    DifferentialEvolution,
    ParticleSwarm,
};

// The option pages that show settings, in tab order.
enum class SettingPage { Local, Genetic, References };

// A group box: the page it is on, its object name and its caption.
struct SettingGroupBox {
    SettingPage Page;
    const char* ObjectName;
    const char* Caption;
};

// The group boxes, by SettingGroup.
extern const SettingGroupBox kSettingGroups[];
inline const SettingGroupBox& GroupOf(SettingGroup group) {
    return kSettingGroups[static_cast<int>(group)];
}

// A radio button of a Choice setting: its object name and caption.
struct SettingChoice {
    const char* ObjectName;
    const char* Caption;
};
constexpr int kMaxChoices = 3;

// One setting of the algorithms: its name (the AlgParameters field's, used by the batch runner's
// --set and --help), where it is stored, the option page's track bar range, the value of one bar
// position, its start-up state, and where and how its page shows it. Values range from
// MinPosition * Step to MaxPosition * Step.
//
// On its page a setting is a row of its group box: the label, then a track bar (objectName
// "TrackBar" + Name) and a read-only edit ("Edit" + Name) showing the value; a Choice setting is
// the label and a row of radio buttons, the one numbered Start checked; an Ignored field is a
// hidden label ("Label" + Name) and an editable edit.
struct SettingSpec {
    const char* Name;
    SettingKind Kind;
    int AlgParameters::*WholeField;      // Whole and Choice settings
    float AlgParameters::*DecimalField;  // Decimal settings
    int MinPosition;
    int MaxPosition;
    double Step;
    int StartPosition;  // where the bar starts
    double Start;       // the value at start-up, which the bar's edit shows (not always the bar's)
    SettingGroup Group;
    int Place;          // the row's place on its page from the top (in tens: 10, 20...)
    const char* Label;  // the caption beside the bar
    int Tick;           // bar positions between tick marks, and a page step
    const char* SpokenName = nullptr;  // for assistive technology, when the label is not enough
    SettingChoice Choices[kMaxChoices] = {};  // a Choice setting's buttons, numbered from 0

    double MinValue() const { return MinPosition * Step; }
    double MaxValue() const { return MaxPosition * Step; }
    // Stores `value` in its field (narrowed to the field's type); an ignored field stores nothing.
    void Store(AlgParameters& params, double value) const;
};

// Every setting in the order the option pages are read: the local page's, the hidden field, the
// genetic page's, the two radio groups, then the two delays.
extern const SettingSpec kSettings[];
extern const std::size_t kSettingCount;

// Gives every setting its start value (what a new AlgParameters holds).
void StoreStartSettings(AlgParameters& params);

// The settings that differ from their start values, in the table's order, as NAME=VALUE joined
// by ";" (the shortest text that reads back as the stored value); empty when none differs. The
// two delays are left out: they do not change what a run finds.
std::string ChangedSettingsText(const AlgParameters& params);

// Whether a setting changes what a run finds: the delays and the ignored field do not. Each of
// the others has a column in the tables and may be listed as changed.
bool CountsAsSetting(const SettingSpec& setting);

// As ChangedSettingsText, but only the settings that `counted` accepts.
std::string ChangedSettingsText(const AlgParameters& params,
                                const std::function<bool(const SettingSpec&)>& counted);

// The setting of that name, or nullptr.
const SettingSpec* FindSetting(std::string_view name);

}  // namespace quarmel
