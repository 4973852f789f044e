#include "ui/mainwindow/OptionPages.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QScrollArea>
#include <QSlider>
#include <QTabWidget>
#include <QVBoxLayout>

#include "app/text/OptionTexts.h"
#include "model/Settings.h"
#include "ui/mainwindow/Accessibility.h"

namespace quarmel {
namespace {

QString Text(const std::string& text) {
    return QString::fromStdString(text);
}

QGridLayout* AddGroup(QBoxLayout* page, const SettingGroupBox& box) {
    auto* group = new QGroupBox(box.Caption);
    group->setObjectName(box.ObjectName);
    auto* grid = new QGridLayout(group);
    grid->setColumnStretch(1, 1);
    grid->setColumnMinimumWidth(0, 170);  // the bars of all groups line up
    grid->setHorizontalSpacing(10);
    page->addWidget(group);
    return grid;
}

// The row of a bar and its edit. The bar's given handler, TrackBar<Name>Change
// (TrackBarLocalSleepChange, TrackBarAChange, TrackBarTemp0Change, TrackBarCOProbabChange, ...),
// is the connection made here: it shows the bar's position in the edit, as the setting reads.
void AddBarRow(QGridLayout* grid, const SettingSpec& setting, QSlider*& bar, QLineEdit*& edit) {
    const int r = grid->rowCount();
    auto* label = new QLabel(setting.Label);
    bar = new QSlider(Qt::Horizontal);
    bar->setObjectName(QString("TrackBar") + setting.Name);
    bar->setRange(setting.MinPosition, setting.MaxPosition);
    bar->setValue(setting.StartPosition);
    bar->setTickPosition(QSlider::TicksBelow);
    bar->setTickInterval(setting.Tick);
    bar->setSingleStep(1);
    bar->setPageStep(setting.Tick);
    edit = new QLineEdit(Text(StartText(setting)));
    edit->setObjectName(QString("Edit") + setting.Name);
    edit->setReadOnly(true);
    edit->setFocusPolicy(Qt::NoFocus);  // skipped by Tab: only the bar changes it
    edit->setFixedWidth(64);
    QPalette grey = edit->palette();
    grey.setColor(QPalette::Base, grey.color(QPalette::Window));
    edit->setPalette(grey);
    label->setBuddy(bar);
    for (QWidget* w : {static_cast<QWidget*>(bar), static_cast<QWidget*>(edit)}) {
        // Bars sharing a caption ("Probability:") are told apart by their spoken names.
        if (setting.SpokenName) {
            w->setAccessibleName(setting.SpokenName);
        } else {
            NameAfter(w, setting.Label);
        }
    }
    grid->addWidget(label, r, 0);
    grid->addWidget(bar, r, 1);
    grid->addWidget(edit, r, 2);
    // The edit's start text stays until the bar first moves (it is not always the bar's).
    QObject::connect(bar, &QSlider::valueChanged, edit, [&setting, edit](int position) {
        edit->setText(Text(PositionText(setting, position)));
    });
}

// A field without a setting: hidden, yet still converted when the page is read.
void AddHiddenRow(QGridLayout* grid, const SettingSpec& setting, QLineEdit*& edit) {
    auto* label = new QLabel(setting.Label);
    label->setObjectName(QString("Label") + setting.Name);
    edit = new QLineEdit(Text(StartText(setting)));
    edit->setObjectName(QString("Edit") + setting.Name);
    NameAfter(edit, label->text());
    const int r = grid->rowCount();
    grid->addWidget(label, r, 0);
    grid->addWidget(edit, r, 2);
    label->hide();
    edit->hide();
}

// The label and a row of radio buttons, the one numbered as the start value checked.
void AddChoiceRow(QGridLayout* grid, const SettingSpec& setting,
                  std::vector<QRadioButton*>& radios) {
    QWidget* group = grid->parentWidget();
    auto* label = new QLabel(setting.Label);
    auto* row = new QHBoxLayout;
    for (int i = 0; i <= setting.MaxPosition; ++i) {
        auto* radio = new QRadioButton(setting.Choices[i].Caption, group);
        radio->setObjectName(setting.Choices[i].ObjectName);
        radio->setChecked(i == static_cast<int>(setting.Start));
        row->addWidget(radio);
        radios.push_back(radio);
    }
    row->addStretch(1);
    const int r = grid->rowCount();
    grid->addWidget(label, r, 0);
    grid->addLayout(row, r, 1, 1, 2);
}

}  // namespace

OptionPages::OptionPages(QTabWidget* pageControl) : controls_(kSettingCount) {
    local_ = BuildPage(pageControl, SettingPage::Local);
    genetic_ = BuildPage(pageControl, SettingPage::Genetic);
    BuildPage(pageControl, SettingPage::References);
}

QWidget* OptionPages::BuildPage(QTabWidget* pageControl, SettingPage shown) {
    struct PageName {
        const char* Name;
        const char* Caption;
    };
    static const PageName kPages[] = {{"TabSheetOptions", "Local Alg."},
                                      {"TabSheetOptionsGenetic", "Genetic Alg."},
                                      {"TabSheetOptionsReferences", "References"}};
    const PageName& named = kPages[static_cast<int>(shown)];
    auto* page = new QWidget;
    page->setObjectName(named.Name);
    page->setAccessibleName(named.Caption);
    QWidget* tab = page;
    if (shown == SettingPage::References) {
        // Its many rows scroll where the window is not tall enough.
        auto* scroll = new QScrollArea;
        scroll->setObjectName("ScrollBoxReferences");
        scroll->setWidgetResizable(true);
        scroll->setFrameShape(QFrame::NoFrame);
        scroll->setWidget(page);
        tab = scroll;
    }
    pageControl->addTab(tab, named.Caption);
    auto* column = new QVBoxLayout(page);
    column->setContentsMargins(8, 8, 8, 8);

    QGridLayout* grid = nullptr;
    const SettingSpec* previous = nullptr;
    for (const SettingSpec* setting : PageSettings(shown)) {
        if (!previous || previous->Group != setting->Group)
            grid = AddGroup(column, GroupOf(setting->Group));
        previous = setting;
        Controls& controls = controls_[setting - kSettings];
        switch (setting->Kind) {
            case SettingKind::Whole:
            case SettingKind::Decimal:
                AddBarRow(grid, *setting, controls.bar, controls.edit);
                break;
            case SettingKind::Choice:
                AddChoiceRow(grid, *setting, controls.radios);
                break;
            case SettingKind::Ignored:
                AddHiddenRow(grid, *setting, controls.edit);
                break;
        }
    }
    column->addStretch(1);
    return page;
}

void OptionPages::Read(AlgParameters& params) const {
    OptionPageTexts texts;
    for (std::size_t i = 0; i < kSettingCount; ++i) {
        const Controls& controls = controls_[i];
        if (controls.edit) texts.Texts[i] = controls.edit->text().toStdString();
        if (controls.radios.empty()) continue;
        texts.Texts[i].clear();  // none checked
        for (std::size_t number = 0; number < controls.radios.size(); ++number) {
            if (controls.radios[number]->isChecked()) texts.Texts[i] = std::to_string(number);
        }
    }
    ReadOptionTexts(texts, params);
}

void OptionPages::MatchPageColour(const QColor& page) const {
    for (const Controls& controls : controls_) {
        if (!controls.bar) continue;
        QPalette grey = controls.edit->palette();
        grey.setColor(QPalette::Base, page);
        controls.edit->setPalette(grey);
    }
}

}  // namespace quarmel
