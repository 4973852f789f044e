// Commands that refuse what they cannot do well: a run with a fixed seed that is not a seed.
#include <QCheckBox>
#include <QImage>
#include <QMenu>
#include <QStatusBar>

#include <set>

#include "WindowFixture.h"

namespace quarmel::test {
namespace {

class Refusals : public WindowTest {
  protected:
    void OpenTwoSolutions() {
        SolutionList solutions;
        solutions.Append(Solution{{1, 2, 3}, 10});
        solutions.Append(Solution{{0, 2, 5}, 15});
        OpenWithSolutions(solutions);
    }
};

TEST_F(Refusals, AFixedSeedOutOfRangeStartsNoRun) {
    Ctl<QCheckBox>("CheckBoxFixedSeed")->setChecked(true);
    for (const char* text : {"", "9999999999"}) {
        dialogs.shown.clear();
        Ctl<QLineEdit>("EditSeed")->setText(text);
        QTest::mouseClick(Ctl<QToolButton>("SpeedButtonGreedy"), Qt::LeftButton);
        EXPECT_EQ(dialogs.Messages(),
                  std::vector<std::string>{std::string("Fixed seed needs a whole number from 0 to "
                                                       "4294967295, not '") +
                                           text + "'."});
        EXPECT_FALSE(form->RunWorker());
        EXPECT_FALSE(form->Session().Active());
        EXPECT_TRUE(Ctl<QToolButton>("SpeedButtonGreedy")->isEnabled());
        EXPECT_TRUE(Ctl<QStatusBar>("StatusBar")->currentMessage().isEmpty());
    }
}

}  // namespace
}  // namespace quarmel::test
