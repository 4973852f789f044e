#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "model/Algparameters.h"
#include "model/Settings.h"

namespace quarmel {

// The option pages' state as texts, one per setting of the settings table, in its order: an
// edit's text, or for a radio group the number of its checked button (empty when none is
// checked). A new one holds the pages' start-up state.
struct OptionPageTexts {
    OptionPageTexts();

    // The text of the named setting; the name must be in the settings table.
    std::string& operator[](std::string_view name);
    const std::string& operator[](std::string_view name) const;

    std::vector<std::string> Texts;
};

// The text an option page's edit shows for a bar position: the position of an integer setting,
// or the position times the step in the shortest text with the decimal comma.
std::string PositionText(const SettingSpec& setting, int position);

// The edit's text at start-up.
std::string StartText(const SettingSpec& setting);

// The settings one option page shows, in its layout order: group box by group box, each top to
// bottom by place.
std::vector<const SettingSpec*> PageSettings(SettingPage shown);

// Converts the texts into the settings in the table's (the pages' reading) order; decimal texts
// use the decimal comma. A text that does not convert throws ConversionError; the settings
// converted before it keep their new values. A radio group with nothing checked leaves its field
// as it was.
void ReadOptionTexts(const OptionPageTexts& texts, AlgParameters& params);

}  // namespace quarmel
