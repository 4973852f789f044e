#include "ui/Mainform.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QEvent>
#include <QFrame>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QResizeEvent>
#include <QScreen>
#include <QScrollBar>
#include <QSlider>
#include <QStatusBar>
#include <QTabBar>
#include <QTabWidget>
#include <QTableWidget>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

#include <exception>

#include "algorithms/Optimizationthread.h"
#include "ui/Aboutform.h"
#include "ui/Accessibility.h"
#include "ui/Helpfunctionform.h"
#include "ui/OptionPages.h"
#include "ui/PanelChart.h"
#include "ui/RunComparison.h"
#include "ui/SvgImages.h"
#include "ui/WindowColours.h"

namespace quarmel {
namespace {

// Tabs of one fixed size, whatever their captions.
class FixedTabBar : public QTabBar {
  public:
    using QTabBar::QTabBar;

  protected:
    QSize tabSizeHint(int) const override { return QSize(115, 25); }
    QSize minimumTabSizeHint(int index) const override { return tabSizeHint(index); }
};

class PageControl : public QTabWidget {
  public:
    explicit PageControl(QWidget* parent) : QTabWidget(parent) { setTabBar(new FixedTabBar(this)); }
};

// Menu shortcuts come before the keys of the control that has the focus, so that Ctrl+A starts
// the genetic algorithm also while an edit field, where it would select all, has the focus.
class MenuShortcutsFirst : public QObject {
  public:
    MenuShortcutsFirst(QWidget* window, QMenuBar* menu)
        : QObject(window), window_(window), menu_(menu) {}

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::ShortcutOverride || !watched->isWidgetType()) return false;
        if (static_cast<QWidget*>(watched)->window() != window_) return false;
        const QKeySequence pressed(static_cast<QKeyEvent*>(event)->keyCombination());
        for (const QAction* item : menu_->findChildren<QAction*>()) {
            if (item->isEnabled() && !item->shortcut().isEmpty() && item->shortcut() == pressed) {
                // Left unaccepted, the key goes to the shortcut instead of the control.
                event->ignore();
                return true;
            }
        }
        return false;
    }

  private:
    QWidget* window_;
    QMenuBar* menu_;
};

QAction* AddItem(QMenu* menu, const char* name, const QString& caption,
                 const QKeySequence& shortcut = QKeySequence()) {
    QAction* action = menu->addAction(caption);
    action->setObjectName(name);
    action->setShortcut(shortcut);
    return action;
}

QAction* AddSeparator(QMenu* menu, const char* name) {
    QAction* separator = menu->addSeparator();
    separator->setObjectName(name);
    return separator;
}

QToolButton* AddToolButton(QWidget* panel, const char* name, const QString& icon,
                           const QString& hint) {
    auto* button = new QToolButton(panel);
    button->setObjectName(name);
    button->setIcon(SvgIcon(":/icons/" + icon + ".svg"));
    button->setAutoRaise(true);
    SetHint(button, hint);
    panel->layout()->addWidget(button);
    return button;
}

QToolButton* AddRunButton(QWidget* panel, const char* name, const QString& icon,
                          const QString& caption, const QString& hint) {
    QToolButton* button = AddToolButton(panel, name, icon, hint);
    button->setText(caption);
    button->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    button->setIconSize(QSize(16, 16));
    button->setFixedSize(82, 24);
    return button;
}

}  // namespace

TFormMain::TFormMain(QWidget* parent) : QMainWindow(parent) {
    InitResources();
    setObjectName("FormMain");
    setWindowTitle("Quarmel");
    QFont font("MS Sans Serif");
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(11);
    setFont(font);

    // The window and its controls.
    changingPageFromCode_ = true;
    BuildMenu();
    auto* central = new QWidget(this);
    central->setObjectName("ClientArea");
    auto* column = new QVBoxLayout(central);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    BuildToolBar();
    column->addWidget(ToolBarMain);
    ToolBar1 = new QWidget(central);
    ToolBar1->setObjectName("ToolBar1");
    ToolBar1->setFixedHeight(11);
    column->addWidget(ToolBar1);
    PageControlMain = new PageControl(central);
    PageControlMain->setObjectName("PageControlMain");
    PageControlMain->setAccessibleName("Pages");
    column->addWidget(PageControlMain, 1);
    setCentralWidget(central);

    BuildFunctionPage();
    BuildChartPage();
    BuildSolutionsPage();
    optionPages_ = std::make_unique<OptionPages>(PageControlMain);
    PageControlMain->setCurrentWidget(TabSheetFunction);
    changingPageFromCode_ = false;
    ApplyPaletteColours();

    StatusBar = new QStatusBar(this);
    StatusBar->setObjectName("StatusBar");
    StatusBar->setAccessibleName("Status");
    StatusBar->setSizeGripEnabled(true);
    setStatusBar(StatusBar);
    Comparison = new RunComparison(this);

    TimerChart = new QTimer(this);
    TimerChart->setObjectName("TimerChart");
    TimerChart->setInterval(60);
    TimerAutoRotation = new QTimer(this);
    TimerAutoRotation->setObjectName("TimerAutoRotation");
    TimerAutoRotation->setInterval(50);
    TimerAutoRotation->start();
    TimerDemo = new QTimer(this);
    TimerDemo->setObjectName("TimerDemo");
    TimerDemo->setInterval(20);
    TimerDemo->start();
    connect(TimerChart, &QTimer::timeout, this,
            [this] { RunCommand(&TFormMain::TimerChartTimer); });

    ConnectFunctionPage();
    ConnectChartPage();
    ConnectRunCommands();
    ConnectNavigation();
    connect(PageControlMain, &QTabWidget::currentChanged, this, [this] {
        if (!changingPageFromCode_) RunCommand(&TFormMain::PageControlMainChange);
    });
    PageControlMain->tabBar()->installEventFilter(this);
    qApp->installEventFilter(new MenuShortcutsFirst(this, MainMenu));
    SetTabOrders();

    // Owned objects and flags start as members; the parser needs "spiral" like every parser.
    AddSpiral(FormParser);
    LoadCursors();
    // Rotate on the left button, move on the right one.
    LabelRotateLeft->show();
    LabelMoveRight->show();

    const std::string workingDir = QDir::currentPath().toStdString();
    for (FileDialogSettings* dialog : {&OpenDialog, &SaveDialog}) {
        dialog->Filters = {{"Txt file", "*.txt;*.TXT"}, {"All files", "*.*"}};
        dialog->DefaultExt = "txt";
        dialog->InitialDir = workingDir;
    }
    SaveDialog.FileName = "Example";
    SaveDialog.OverwritePrompt = true;

    EditFunctionName->setText("Example 1");

    resize(654, 632);
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        move(area.center() - QPoint(width() / 2, height() / 2));
    }
    FormCreate();
}

TFormMain::~TFormMain() {
    // A run still going on ends by itself; the window does not wait for it.
    if (Worker) Worker->Terminate();
}

void TFormMain::BuildMenu() {
    MainMenu = menuBar();
    MainMenu->setObjectName("MainMenu");

    Plik1 = MainMenu->addMenu("File");
    Plik1->setObjectName("Plik1");
    Nowafunkcja1 = AddItem(Plik1, "Nowafunkcja1", "&New function", QKeySequence("Ctrl+N"));
    Wczytajwyniki1 = AddItem(Plik1, "Wczytajwyniki1", "&Open", QKeySequence("Ctrl+O"));
    Zapiszwyniki1 = AddItem(Plik1, "Zapiszwyniki1", "&Save", QKeySequence("Ctrl+S"));
    N6 = AddSeparator(Plik1, "N6");
    Zamknij1 = AddItem(Plik1, "Zamknij1", "E&xit");

    Optymalizacja1 = MainMenu->addMenu("Optimization");
    Optymalizacja1->setObjectName("Optymalizacja1");
    Funkcja1 = AddItem(Optymalizacja1, "Funkcja1", "&Function", QKeySequence("Ctrl+F"));
    Wykresfunkcji1 = AddItem(Optymalizacja1, "Wykresfunkcji1", "&Chart", QKeySequence("Ctrl+W"));
    N1 = AddSeparator(Optymalizacja1, "N1");
    Greedy1 = AddItem(Optymalizacja1, "Greedy1", "&Greedy", QKeySequence("Ctrl+G"));
    Steepest1 = AddItem(Optymalizacja1, "Steepest1", "&Steepest", QKeySequence("Ctrl+T"));
    // Ctrl+N belongs to "New function"; this item only shows the key in its text.
    Symulowanewyarzanie1 =
        AddItem(Optymalizacja1, "Symulowanewyarzanie1", "Simulated &annealing\tCtrl+N");
    N5 = AddSeparator(Optymalizacja1, "N5");
    AlgorytmGenetyczny1 = AddItem(Optymalizacja1, "AlgorytmGenetyczny1", "&Genetic algorithm",
                                  QKeySequence("Ctrl+A"));
    N3 = AddSeparator(Optymalizacja1, "N3");
    Pauza1 = AddItem(Optymalizacja1, "Pauza1", "&Pause", QKeySequence("Ctrl+P"));
    Pauza1->setCheckable(true);
    Stop1 = AddItem(Optymalizacja1, "Stop1", "S&top", QKeySequence("Ctrl+Q"));
    N2 = AddSeparator(Optymalizacja1, "N2");
    Rozwizania1 = AddItem(Optymalizacja1, "Rozwizania1", "S&olutions", QKeySequence("Ctrl+R"));

    Opcje1 = MainMenu->addMenu("&Options");
    Opcje1->setObjectName("Opcje1");
    Algorytmylokalne2 =
        AddItem(Opcje1, "Algorytmylokalne2", "&Local algorithms", QKeySequence("Ctrl+Alt+L"));
    AlgorytmGenetyczny2 =
        AddItem(Opcje1, "AlgorytmGenetyczny2", "&Genetic algorithm", QKeySequence("Ctrl+Alt+G"));
    N4 = AddSeparator(Opcje1, "N4");
    Demonstracja1 =
        AddItem(Opcje1, "Demonstracja1", "&Demo of wave motion", QKeySequence("Ctrl+Alt+D"));
    Demonstracja1->setCheckable(true);

    Pomoc1 = MainMenu->addMenu("&Help");
    Pomoc1->setObjectName("Pomoc1");
    Pomoc2 = AddItem(Pomoc1, "Pomoc2", "Function parser help", QKeySequence("F1"));
    Oprogramie1 = AddItem(Pomoc1, "Oprogramie1", "&About", QKeySequence("F2"));

    ConnectCommands<QAction>(
        {
            {Zamknij1, &TFormMain::Zamknij1Click},
            {Funkcja1, &TFormMain::Funkcja1Click},
            {Wykresfunkcji1, &TFormMain::Wykresfunkcji1Click},
            {Rozwizania1, &TFormMain::Rozwizania1Click},
            {Algorytmylokalne2, &TFormMain::Algorytmylokalne2Click},
            {AlgorytmGenetyczny2, &TFormMain::AlgorytmGenetyczny2Click},
            {Pomoc2, &TFormMain::Pomoc2Click},
            {Oprogramie1, &TFormMain::Oprogramie1Click},
        },
        &QAction::triggered);
}

void TFormMain::BuildToolBar() {
    ToolBarMain = new QWidget(this);
    ToolBarMain->setObjectName("ToolBarMain");
    ToolBarMain->setFixedHeight(34);
    ToolBarMain->setAccessibleName("Tool bar");
    auto* row = new QHBoxLayout(ToolBarMain);
    row->setContentsMargins(2, 2, 2, 2);
    row->setSpacing(2);

    auto* files = new QFrame(ToolBarMain);
    files->setObjectName("PanelFileButtons");
    files->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    files->setFixedWidth(97);
    files->setAccessibleName("File");
    auto* fileRow = new QHBoxLayout(files);
    fileRow->setContentsMargins(2, 0, 2, 0);
    fileRow->setSpacing(1);
    PanelFileButtons = files;
    SpeedButtonNew = AddToolButton(files, "SpeedButtonNew", "new", "New function");
    SpeedButtonOpen =
        AddToolButton(files, "SpeedButtonOpen", "open", "Open function and solutions");
    SpeedButtonSave =
        AddToolButton(files, "SpeedButtonSave", "save", "Save function and solutions");
    // Icon-only buttons are named after their hints for screen readers.
    SpeedButtonNew->setAccessibleName("New function");
    SpeedButtonOpen->setAccessibleName("Open");
    SpeedButtonSave->setAccessibleName("Save");
    row->addWidget(files);

    auto* runs = new QFrame(ToolBarMain);
    runs->setObjectName("PanelRunButtons");
    runs->setAutoFillBackground(true);
    // Dark whatever the palette, with every colour the buttons are drawn in: white captions, on
    // a dark shade also where a button is hovered or pressed, and grey ones on disabled buttons.
    QPalette dark = runs->palette();
    dark.setColor(QPalette::Window, QColor(48, 52, 64));
    dark.setColor(QPalette::Button, QColor(80, 88, 108));
    for (QPalette::ColorRole role : {QPalette::WindowText, QPalette::ButtonText}) {
        dark.setColor(role, Qt::white);
        dark.setColor(QPalette::Disabled, role, QColor(128, 134, 148));
    }
    runs->setPalette(dark);
    runs->setAccessibleName("Optimization");
    auto* runRow = new QHBoxLayout(runs);
    runRow->setContentsMargins(3, 3, 3, 3);
    runRow->setSpacing(2);
    PanelRunButtons = runs;
    SpeedButtonGreedy =
        AddRunButton(runs, "SpeedButtonGreedy", "greedy", "Greedy", "Start Greedy algorithm");
    SpeedButtonSteepest = AddRunButton(runs, "SpeedButtonSteepest", "steepest", "Steepest",
                                       "Start Steepest algorithm");
    SpeedButtonSA = AddRunButton(runs, "SpeedButtonSA", "annealing", "SA",
                                 "Start Simulated Annealing algorithm");
    SpeedButtonGeneticAlg = AddRunButton(runs, "SpeedButtonGeneticAlg", "genetic", "Genetic",
                                         "Start Genetic algorithm");
    SpeedButtonPause =
        AddRunButton(runs, "SpeedButtonPause", "pause", "Pause", "Pause calculation");
    SpeedButtonPause->setCheckable(true);
    SpeedButtonStop = AddRunButton(runs, "SpeedButtonStop", "stop", "Stop", "Stop calculation");
    runRow->addStretch(1);
    row->addWidget(runs, 1);
}

void TFormMain::FormCreate() {
    PanelChart->SetFrameSource([this] { return CurrentChartFrame(); });
    StringGridVariables->setHorizontalHeaderLabels({"Name", "Min", "Max", "Value"});
    const char* rows[3][4] = {
        {"x", "-50", "50", "0"}, {"y", "-40", "40", "6"}, {"c", "1", "15", "5"}};
    for (int r = 0; r < 3; ++r) {
        for (int c = 0; c < 4; ++c) SetVariableCell(c, r + 1, rows[r][c]);
    }
}

void TFormMain::RunCommand(void (TFormMain::*handler)()) {
    RunCommand([this, handler] { (this->*handler)(); });
}

void TFormMain::RunCommand(const std::function<void()>& command) {
    try {
        command();
    } catch (const std::exception& e) {
        ShowCommandError(e.what());
    } catch (...) {
        ShowCommandError("");
    }
}

void ShowCommandError(const std::string& message) {
    CurrentDialogs().Error(ErrorBoxText(message));
}

void TFormMain::ShowPage(QWidget* page) {
    changingPageFromCode_ = true;
    PageControlMain->setCurrentWidget(page);
    changingPageFromCode_ = false;
}

void TFormMain::PageControlMainChange() {
    FormResize();
    QWidget* page = PageControlMain->currentWidget();
    if (page == TabSheetFunction) LayoutVariablesGrid();
    if (page == TabSheetChart) {
        if (WaveDemoRunning) Demonstracja1Click();
        if (ReadFunctionPage(false) == -1) return;
        // During a run the Function page is read-only, so the reading cannot have changed the
        // problem the run works on: its results stay wanted.
        if (!Worker) IgnoreRunResults = true;
        if (WaveDemoRunning) {
            WaveDemoRunning = false;
        } else {
            TimerChart->start();
        }
    }
    if (page == TabSheetSolutions) {
        LayoutSolutionsGrid();
        FillSolutionsGrid();
    }
}

void TFormMain::PageControlMainMouseUp() {
    RedrawChart();
}

void TFormMain::FormResize() {
    QWidget* page = PageControlMain->currentWidget();
    if (page == TabSheetChart) {
        RedrawChart();
        LayoutRangeControls();
    } else if (page == TabSheetFunction) {
        LayoutVariablesGrid();
    } else if (page == TabSheetSolutions) {
        LayoutSolutionsGrid();
    }
}

void TFormMain::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    RunCommand(&TFormMain::FormResize);
}

bool TFormMain::eventFilter(QObject* watched, QEvent* event) {
    if (PictureMouseDown(watched, event)) return true;
    // Hovering menu items sends empty status tips, which would wipe a run's status text.
    if (watched == this && event->type() == QEvent::StatusTip) return true;
    if (watched == PageControlMain->tabBar() && event->type() == QEvent::MouseButtonRelease) {
        RunCommand(&TFormMain::PageControlMainMouseUp);
    } else if (event->type() == QEvent::Resize) {
        // The pages' controls follow their page's size, like anchored controls.
        if (watched == TabSheetFunction) AnchorFunctionPage();
        if (watched == TabSheetChart) AnchorChartPage();
        if (watched == TabSheetSolutions) AnchorSolutionsPage();
    }
    return QMainWindow::eventFilter(watched, event);
}

void TFormMain::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::PaletteChange) ApplyPaletteColours();
}

void TFormMain::ApplyPaletteColours() {
    // The window's palette: the pages' own ones follow it only after this event.
    const QColor page = palette().color(QPalette::Window);
    // Blue values and marks, in a shade of blue that reads on the page.
    for (QLabel* label : {LabelFuncCalc, LabelBeforeOpt, LabelAfterOpt, LabelRotateRight,
                          LabelMoveRight, LabelScaleRight}) {
        QPalette blue = label->palette();
        blue.setColor(QPalette::WindowText, ReadableOn(Qt::blue, page));
        label->setPalette(blue);
    }
    // The option pages' read-only edits are as grey as the page, with the palette's text.
    optionPages_->MatchPageColour(page);
}

void TFormMain::Zamknij1Click() {
    close();
}
void TFormMain::Funkcja1Click() {
    ShowPage(TabSheetFunction);
}
void TFormMain::Wykresfunkcji1Click() {
    ShowPage(TabSheetChart);
}

void TFormMain::Rozwizania1Click() {
    ShowPage(TabSheetSolutions);
    FormResize();
}

void TFormMain::Algorytmylokalne2Click() {
    ShowPage(optionPages_->LocalPage());
}
void TFormMain::AlgorytmGenetyczny2Click() {
    ShowPage(optionPages_->GeneticPage());
}

void TFormMain::ReadOptionPages() {
    optionPages_->Read(Parameters);
}

void TFormMain::Pomoc2Click() {
    if (!helpWindow_) return;
    helpWindow_->show();
    helpWindow_->raise();
    helpWindow_->activateWindow();
}

void TFormMain::Oprogramie1Click() {
    if (aboutWindow_) aboutWindow_->exec();
}

void TFormMain::SetTabOrders() {
    // Controls are created in reading order, which gives most of the order; the range controls
    // go row by row, each bar before its edit.
    const std::vector<QWidget*> chain[] = {
        {EditFunctionName, RadioButton_max, RadioButton_min, EditFunction, SpeedButtonCalc,
         StringGridVariables},
        {ComboBoxAxeX,
         ComboBoxAxeY,
         CheckBoxPolygon,
         CheckBoxFrames,
         CheckBoxWireframe,
         CheckBoxShading,
         CheckBoxAxes,
         CheckBoxAxesDesc,
         CheckBoxSolution,
         ScrollBarScale,
         CheckBoxAutoRotation,
         TrackBarAutoRotation,
         BitBtnReset,
         ScrollBarMinX,
         EditMinX,
         ScrollBarMinY,
         EditMinY,
         ScrollBarMaxX,
         EditMaxX,
         ScrollBarMaxY,
         EditMaxY},
    };
    for (const auto& order : chain) {
        const QWidget* previous = nullptr;
        for (QWidget* w : order) {
            if (previous) setTabOrder(const_cast<QWidget*>(previous), w);
            previous = w;
        }
    }
}

void TFormMain::LoadCursors() {
    const std::pair<int, const char*> cursors[] = {{kCursorRotate, "ID_CUR_ROTATE"},
                                                   {kCursorMove, "ID_CUR_MOVE"},
                                                   {kCursorScale, "ID_CUR_SCALE"}};
    for (const auto& [number, name] : cursors) {
        const QPixmap picture = SvgPixmap(QString(":/cursors/") + name, QSize(32, 32));
        Cursors[number] = QCursor(picture, 16, 16);
    }
}

}  // namespace quarmel
