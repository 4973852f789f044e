// The help window (not modal, its text never stored) and the About window (modal, shaped).
#include <QBitmap>
#include <QWindow>

#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <algorithm>

#include "WindowFixture.h"
#include "ui/dialogs/HelpText.h"

namespace quarmel::test {
namespace {

using HelpWindow = WindowTest;

TEST_F(HelpWindow, F1OpensItWithoutBlockingTheMainWindow) {
    Press(Qt::Key_F1);
    ASSERT_TRUE(help->isVisible());
    EXPECT_FALSE(help->isModal());
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    EXPECT_EQ(help->windowTitle(), "Function parser help");
    EXPECT_EQ(help->GroupBoxHelp->title(), "Function parser help:");
    // The main window still works.
    QTest::mouseClick(Ctl<QPushButton>("SpeedButtonCalc"), Qt::LeftButton);
    EXPECT_EQ(Ctl<QLabel>("LabelFuncCalc")->text(), "31");
    // A second F1 leaves it shown.
    Press(Qt::Key_F1);
    EXPECT_TRUE(help->isVisible());
}

TEST_F(HelpWindow, EditedTextStaysUntilTheEndButIsNotStored) {
    Ctl<QAction>("Pomoc2")->trigger();
    help->MemoParserHelp->setPlainText("my notes");
    QTest::mouseClick(help->BitBtnClose, Qt::LeftButton);
    EXPECT_FALSE(help->isVisible());
    Ctl<QAction>("Pomoc2")->trigger();
    EXPECT_EQ(help->MemoParserHelp->toPlainText(), "my notes");
    // A new window (a new start) shows the help text again.
    TFormHelpFunction fresh;
    EXPECT_EQ(fresh.MemoParserHelp->toPlainText().toStdString(), ParserHelpText());
}

TEST(HelpText, SectionsAndEntriesComeInOrder) {
    const std::string& text = ParserHelpText();
    const std::size_t operators = text.find("\n Operators:\n");
    const std::size_t functions = text.find("\n Functions:\n");
    ASSERT_NE(operators, std::string::npos);
    ASSERT_NE(functions, std::string::npos);
    EXPECT_LT(operators, functions);
    // Each heading stands between empty lines.
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1) {
        lines.push_back(text.substr(start, end - start));
    }
    for (const char* heading : {" Operators:", " Functions:"}) {
        const auto line = std::find(lines.begin(), lines.end(), heading);
        ASSERT_NE(line, lines.end()) << heading;
        ASSERT_NE(line, lines.begin()) << heading;
        EXPECT_EQ(*(line - 1), "") << heading;
        ASSERT_NE(line + 1, lines.end()) << heading;
        EXPECT_EQ(*(line + 1), "") << heading;
    }

    const char* operatorEntries[] = {
        " ()", " -A", " A^B", " A*B  A/B  A%B", " A+B  A-B", " A=B  A<B  A>B", " A&B", " A|B"};
    const char* functionEntries[] = {
        " abs(A)",   " acos(A)",  " acosh(A)",  " asin(A)", " asinh(A)", " atan(A)",  " atan2(A;B)",
        " atanh(A)", " ceil(A)",  " cos(A)",    " cosh(A)", " cot(A)",   " csc(A)",   " eval(...)",
        " exp(A)",   " floor(A)", " if(A;B;C)", " int(A)",  " log(A)",   " log10(A)", " max(A;B)",
        " min(A;B)", " sec(A)",   " sin(A)",    " sinh(A)", " sqrt(A)",  " tan(A)",   " tanh(A)"};
    std::size_t at = operators;
    for (const char* entry : operatorEntries) {
        const std::size_t next = text.find(std::string("\n") + entry + " ", at);
        ASSERT_NE(next, std::string::npos) << entry;
        EXPECT_LT(next, functions) << entry;
        at = next + 1;
    }
    at = functions;
    for (const char* entry : functionEntries) {
        const std::size_t next = text.find(std::string("\n") + entry + " ", at);
        ASSERT_NE(next, std::string::npos) << entry;
        at = next + 1;
    }
    EXPECT_EQ(text.find("spiral"), std::string::npos);
    // Arguments are separated the way the user types them.
    EXPECT_EQ(text.find("atan2(A,B)"), std::string::npos);
}

using AboutWindow = WindowTest;

TEST_F(AboutWindow, F2OpensItModallyUntilClose) {
    expectModal = true;
    bool inspected = false;
    QTimer::singleShot(50, [&] {
        inspected = true;
        EXPECT_TRUE(about->isVisible());
        EXPECT_EQ(QApplication::activeModalWidget(), about.get());
        EXPECT_TRUE(about->windowFlags() & Qt::FramelessWindowHint);
        EXPECT_EQ(about->size(), QSize(461, 307));
        // The main window does not react meanwhile (the click goes through the window system,
        // where modality is applied).
        const QPoint calc = Ctl<QPushButton>("SpeedButtonCalc")->mapTo(form.get(), QPoint(10, 10));
        QTest::mouseClick(form->windowHandle(), Qt::LeftButton, {}, calc);
        QApplication::processEvents();
        EXPECT_EQ(Ctl<QLabel>("LabelFuncCalc")->text(), "-");
        QTest::mouseClick(about->BitBtnClose, Qt::LeftButton);
    });
    Press(Qt::Key_F2);
    EXPECT_TRUE(inspected);
    EXPECT_FALSE(about->isVisible());
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    // Once it is closed, the same click reaches the main window.
    const QPoint calc = Ctl<QPushButton>("SpeedButtonCalc")->mapTo(form.get(), QPoint(10, 10));
    QTest::mouseClick(form->windowHandle(), Qt::LeftButton, {}, calc);
    EXPECT_EQ(Ctl<QLabel>("LabelFuncCalc")->text(), "31");
}

// About closes only through its button (Enter presses it); the parser help, a window of its
// own, closes with Escape too.
TEST_F(AboutWindow, EscapeClosesTheParserHelpButNotAbout) {
    expectModal = true;
    bool stillOpen = false;
    QTimer::singleShot(50, [&] {
        QTest::keyClick(about.get(), Qt::Key_Escape);
        QApplication::processEvents();
        stillOpen = about->isVisible();
        about->BitBtnClose->click();
    });
    Ctl<QAction>("Oprogramie1")->trigger();
    EXPECT_TRUE(stillOpen);
    Ctl<QAction>("Pomoc2")->trigger();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(help.get()));
    QTest::keyClick(help->findChild<QWidget*>("MemoParserHelp"), Qt::Key_Escape);
    EXPECT_FALSE(help->isVisible());
}

TEST_F(AboutWindow, HasARoundedOutlineAndItsTexts) {
    const QRegion outline = about->mask();
    // Corners are quarter ellipses 60 wide and 90 high: the corner pixels are cut off, points
    // just inside the ellipses are kept.
    EXPECT_FALSE(outline.contains(QPoint(0, 0)));
    EXPECT_FALSE(outline.contains(QPoint(460, 306)));
    EXPECT_FALSE(outline.contains(QPoint(3, 10)));  // inside the 60 x 90 box, outside the arc
    EXPECT_TRUE(outline.contains(QPoint(30, 2)));   // top of the arc
    EXPECT_TRUE(outline.contains(QPoint(2, 45)));   // side of the arc
    EXPECT_TRUE(outline.contains(QPoint(230, 153)));
    EXPECT_TRUE(outline.contains(QPoint(62, 1)));  // straight edge past the corner
    EXPECT_EQ(about->LabelProgram->text(), "Program for visualization of function optimization ");
    EXPECT_EQ(about->LabelVersion->text(), "Version 1.0       20.02.2004");
    EXPECT_EQ(about->BitBtnClose->text(), "Close");
    EXPECT_FALSE(about->Image->pixmap().isNull());
    for (QLabel* credit : {about->LabelCredits1, about->LabelCredits2, about->LabelCredits3}) {
        EXPECT_FALSE(credit->text().isEmpty());
        EXPECT_TRUE(credit->font().bold());
    }
}

}  // namespace
}  // namespace quarmel::test
