// The window's own colours: the contrast rules, and what the window sets under a dark palette.
#include "ui/mainwindow/WindowColours.h"

#include <QComboBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QToolButton>

#include "WindowFixture.h"

namespace quarmel::test {
namespace {

TEST(WindowColours, ContrastRatioSpansOneToTwentyOne) {
    EXPECT_NEAR(ContrastRatio(Qt::black, Qt::white), 21.0, 1e-9);
    EXPECT_NEAR(ContrastRatio(Qt::white, Qt::black), 21.0, 1e-9);
    EXPECT_NEAR(ContrastRatio(QColor(53, 53, 53), QColor(53, 53, 53)), 1.0, 1e-9);
    // Mid grey (0.5 in every channel) has a luminance of about 0.214.
    EXPECT_NEAR(RelativeLuminance(QColor(128, 128, 128)), 0.2158, 1e-3);
}

TEST(WindowColours, AColourKeepsItsHueAndGainsTheContrastItLacks) {
    const QColor light(239, 239, 239);
    EXPECT_EQ(ReadableOn(Qt::blue, light), QColor(Qt::blue));
    const QColor dark(53, 53, 53);
    const QColor onDark = ReadableOn(Qt::blue, dark);
    EXPECT_GE(ContrastRatio(onDark, dark), 4.5);
    EXPECT_GT(onDark.blue(), onDark.red());
    EXPECT_EQ(onDark.red(), onDark.green());
    // A light colour on a light background goes darker.
    const QColor onLight = ReadableOn(QColor(255, 255, 160), light);
    EXPECT_GE(ContrastRatio(onLight, light), 4.5);
    EXPECT_LT(RelativeLuminance(onLight), RelativeLuminance(QColor(255, 255, 160)));
}

// A dark system palette, set while the window is shown, as a desktop's theme switch does.
class DarkPalette : public WindowTest {
  protected:
    void SetUp() override {
        WindowTest::SetUp();
        saved_ = QApplication::palette();
        QPalette dark;
        for (auto role : {QPalette::Window, QPalette::Button, QPalette::AlternateBase})
            dark.setColor(role, QColor(53, 53, 53));
        dark.setColor(QPalette::Base, QColor(35, 35, 35));
        for (auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
            dark.setColor(role, QColor(230, 230, 230));
        QApplication::setPalette(dark);
        QCoreApplication::processEvents();
    }
    void TearDown() override {
        QApplication::setPalette(saved_);
        WindowTest::TearDown();
    }

  private:
    QPalette saved_;
};

double Contrast(const QWidget* w, QPalette::ColorGroup group, QPalette::ColorRole text,
                QPalette::ColorRole background) {
    return ContrastRatio(w->palette().color(group, text), w->palette().color(group, background));
}

TEST_F(DarkPalette, EveryColourTheWindowSetsComesWithOneThatReadsOnIt) {
    ClickTab(Ctl<QWidget>("TabSheetChart"));
    // Y "-": white X edits, grey disabled Y edits.
    Ctl<QComboBox>("ComboBoxAxeY")->setCurrentIndex(0);
    emit Ctl<QComboBox>("ComboBoxAxeY")->activated(0);
    for (QLineEdit* edit : {Ctl<QLineEdit>("EditMinX"), Ctl<QLineEdit>("EditMaxX"),
                            Ctl<QLineEdit>("EditMinY"), Ctl<QLineEdit>("EditMaxY")}) {
        SCOPED_TRACE(edit->objectName().toStdString());
        EXPECT_GE(Contrast(edit, QPalette::Active, QPalette::Text, QPalette::Base), 4.5);
        EXPECT_GE(Contrast(edit, QPalette::Disabled, QPalette::Text, QPalette::Base), 3.0);
        EXPECT_NE(edit->palette().color(QPalette::Disabled, QPalette::Text),
                  edit->palette().color(QPalette::Active, QPalette::Text));
    }
    for (QLabel* label : {Ctl<QLabel>("LabelFuncCalc"), Ctl<QLabel>("LabelBeforeOpt"),
                          Ctl<QLabel>("LabelAfterOpt"), Ctl<QLabel>("LabelRotateRight")}) {
        SCOPED_TRACE(label->objectName().toStdString());
        EXPECT_GE(Contrast(label, QPalette::Active, QPalette::WindowText, QPalette::Window), 4.5);
    }
    EXPECT_GE(
        Contrast(Ctl<QLineEdit>("EditTemp0"), QPalette::Active, QPalette::Text, QPalette::Base),
        4.5);

    // Run buttons: captions read on the panel and on a hovered or pressed button; a disabled
    // button's caption is dimmer than an enabled one's.
    const QToolButton* run = Ctl<QToolButton>("SpeedButtonGreedy");
    EXPECT_GE(Contrast(run, QPalette::Active, QPalette::ButtonText, QPalette::Window), 4.5);
    EXPECT_GE(Contrast(run, QPalette::Active, QPalette::ButtonText, QPalette::Button), 4.5);
    EXPECT_LT(Contrast(run, QPalette::Disabled, QPalette::ButtonText, QPalette::Window),
              Contrast(run, QPalette::Active, QPalette::ButtonText, QPalette::Window) / 2);
}

TEST_F(DarkPalette, ARangeEditShowsItsTextOnItsWhiteBackground) {
    ClickTab(Ctl<QWidget>("TabSheetChart"));
    const QImage shot = Ctl<QLineEdit>("EditMaxX")->grab().toImage();
    // The text's pixels: dark ones on the white field, inside the edit's frame.
    int dark = 0;
    for (int y = 4; y < shot.height() - 4; ++y) {
        for (int x = 4; x < shot.width() - 4; ++x) dark += qGray(shot.pixel(x, y)) < 100;
    }
    EXPECT_GT(dark, 10) << Ctl<QLineEdit>("EditMaxX")->text().toStdString();
}

}  // namespace
}  // namespace quarmel::test
