#pragma once

#include <vector>

#include "model/Algparameters.h"
#include "model/Settings.h"

class QColor;
class QLineEdit;
class QRadioButton;
class QSlider;
class QTabWidget;
class QWidget;

namespace quarmel {

// The "Local Alg." and "Genetic Alg." pages, and the reference algorithms' "References" page
// after them, built from the settings table: each setting is a
// track bar with a read-only edit showing its value, or a row of radio buttons. The edit texts
// and the radio buttons are the settings; Read converts them. The controls keep their given
// names as objectNames ("TrackBarA", "EditA", "RadioButtonRoulette", ...).
class OptionPages {
  public:
    // Adds the three pages, as the next three tabs of the page control.
    explicit OptionPages(QTabWidget* pageControl);

    // Converts every option into `params` in the settings table's order; a text that is not a
    // number throws ConversionError, keeping what was read before it.
    void Read(AlgParameters& params) const;

    QWidget* LocalPage() const { return local_; }
    QWidget* GeneticPage() const { return genetic_; }

    // Makes the read-only edits as grey as the page's colour (again when the palette changes).
    void MatchPageColour(const QColor& page) const;

  private:
    // A setting's controls: a bar and its edit, an edit alone, or radio buttons.
    struct Controls {
        QSlider* bar = nullptr;
        QLineEdit* edit = nullptr;
        std::vector<QRadioButton*> radios;
    };

    QWidget* BuildPage(QTabWidget* pageControl, SettingPage shown);

    std::vector<Controls> controls_;  // by the settings table's index
    QWidget* local_ = nullptr;
    QWidget* genetic_ = nullptr;
};

}  // namespace quarmel
