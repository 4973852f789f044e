#include "app/text/OptionTexts.h"

#include <algorithm>
#include <stdexcept>
#include <utility>

#include "app/text/NumberText.h"

namespace quarmel {

namespace {

std::size_t IndexOf(std::string_view name) {
    const SettingSpec* s = FindSetting(name);
    if (!s) throw std::invalid_argument("no setting " + std::string(name));
    return static_cast<std::size_t>(s - kSettings);
}

std::string ValueText(const SettingSpec& setting, double value) {
    if (setting.Kind == SettingKind::Decimal) return ShortestText(value);
    return std::to_string(static_cast<int>(value));
}

}  // namespace

OptionPageTexts::OptionPageTexts() {
    for (std::size_t i = 0; i < kSettingCount; ++i) Texts.push_back(StartText(kSettings[i]));
}

std::string& OptionPageTexts::operator[](std::string_view name) {
    return Texts.at(IndexOf(name));
}

const std::string& OptionPageTexts::operator[](std::string_view name) const {
    return Texts.at(IndexOf(name));
}

std::string PositionText(const SettingSpec& setting, int position) {
    if (setting.Step == 1) return std::to_string(position);
    return ShortestText(position * setting.Step);
}

std::string StartText(const SettingSpec& setting) {
    return ValueText(setting, setting.Start);
}

std::vector<const SettingSpec*> PageSettings(SettingPage shown) {
    std::vector<const SettingSpec*> page;
    for (std::size_t i = 0; i < kSettingCount; ++i) {
        if (GroupOf(kSettings[i].Group).Page == shown) page.push_back(&kSettings[i]);
    }
    std::stable_sort(page.begin(), page.end(), [](const SettingSpec* a, const SettingSpec* b) {
        return std::pair(a->Group, a->Place) < std::pair(b->Group, b->Place);
    });
    return page;
}

void ReadOptionTexts(const OptionPageTexts& texts, AlgParameters& params) {
    for (std::size_t i = 0; i < kSettingCount; ++i) {
        const SettingSpec& s = kSettings[i];
        const std::string& text = texts.Texts.at(i);
        switch (s.Kind) {
            case SettingKind::Whole:
                s.Store(params, TextToInt(text));
                break;
            case SettingKind::Choice:
                if (!text.empty()) s.Store(params, TextToInt(text));
                break;
            case SettingKind::Decimal:
            case SettingKind::Ignored:
                s.Store(params, TextToFloat(text));
                break;
        }
    }
}

}  // namespace quarmel
