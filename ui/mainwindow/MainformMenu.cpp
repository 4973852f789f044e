// The main window's menu and tool bar: their items, captions, shortcuts and hints.
#include <QAction>
#include <QFrame>
#include <QHBoxLayout>
#include <QMenu>
#include <QMenuBar>
#include <QToolButton>

#include <string>

#include "algorithms/AlgorithmTable.h"
#include "ui/dialogs/SvgImages.h"
#include "ui/mainwindow/Accessibility.h"
#include "ui/mainwindow/MainformMenu.h"

namespace quarmel {
namespace {

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

void BuildMainMenu(QMenuBar* bar, MainMenuItems& m) {
    m.MainMenu = bar;
    m.MainMenu->setObjectName("MainMenu");

    m.Plik1 = m.MainMenu->addMenu("File");
    m.Plik1->setObjectName("Plik1");
    m.Nowafunkcja1 = AddItem(m.Plik1, "Nowafunkcja1", "&New function", QKeySequence("Ctrl+N"));
    m.Wczytajwyniki1 = AddItem(m.Plik1, "Wczytajwyniki1", "&Open", QKeySequence("Ctrl+O"));
    m.Zapiszwyniki1 = AddItem(m.Plik1, "Zapiszwyniki1", "&Save", QKeySequence("Ctrl+S"));
    m.N6 = AddSeparator(m.Plik1, "N6");
    m.Zamknij1 = AddItem(m.Plik1, "Zamknij1", "E&xit");

    m.Optymalizacja1 = m.MainMenu->addMenu("Optimization");
    m.Optymalizacja1->setObjectName("Optymalizacja1");
    m.Funkcja1 = AddItem(m.Optymalizacja1, "Funkcja1", "&Function", QKeySequence("Ctrl+F"));
    m.Wykresfunkcji1 =
        AddItem(m.Optymalizacja1, "Wykresfunkcji1", "&Chart", QKeySequence("Ctrl+W"));
    m.N1 = AddSeparator(m.Optymalizacja1, "N1");
    m.Greedy1 = AddItem(m.Optymalizacja1, "Greedy1", "&Greedy", QKeySequence("Ctrl+G"));
    m.Steepest1 = AddItem(m.Optymalizacja1, "Steepest1", "&Steepest", QKeySequence("Ctrl+T"));
    // Ctrl+N belongs to "New function"; this item only shows the key in its text.
    m.Symulowanewyarzanie1 =
        AddItem(m.Optymalizacja1, "Symulowanewyarzanie1", "Simulated &annealing\tCtrl+N");
    m.N5 = AddSeparator(m.Optymalizacja1, "N5");
    m.AlgorytmGenetyczny1 = AddItem(m.Optymalizacja1, "AlgorytmGenetyczny1", "&Genetic algorithm",
                                    QKeySequence("Ctrl+A"));
    m.N3 = AddSeparator(m.Optymalizacja1, "N3");
    m.Pauza1 = AddItem(m.Optymalizacja1, "Pauza1", "&Pause", QKeySequence("Ctrl+P"));
    m.Pauza1->setCheckable(true);
    m.Stop1 = AddItem(m.Optymalizacja1, "Stop1", "S&top", QKeySequence("Ctrl+Q"));
    m.N2 = AddSeparator(m.Optymalizacja1, "N2");
    m.Rozwizania1 = AddItem(m.Optymalizacja1, "Rozwizania1", "S&olutions", QKeySequence("Ctrl+R"));
    m.N7 = AddSeparator(m.Optymalizacja1, "N7");
    m.ReferenceAlgorithms1 = m.Optymalizacja1->addMenu("&Reference algorithms");
    m.ReferenceAlgorithms1->setObjectName("ReferenceAlgorithms1");
    for (std::size_t k = 0; k < kAlgorithmCount; ++k) {
        const AlgorithmRow& row = kAlgorithms[k];
        if (!row.Reference) continue;
        QAction* item = AddItem(m.ReferenceAlgorithms1,
                                (std::string("Algorithm_") + row.Key).c_str(), row.Caption);
        item->setData(static_cast<int>(k));
    }

    m.Opcje1 = m.MainMenu->addMenu("&Options");
    m.Opcje1->setObjectName("Opcje1");
    m.Algorytmylokalne2 =
        AddItem(m.Opcje1, "Algorytmylokalne2", "&Local algorithms", QKeySequence("Ctrl+Alt+L"));
    m.AlgorytmGenetyczny2 =
        AddItem(m.Opcje1, "AlgorytmGenetyczny2", "&Genetic algorithm", QKeySequence("Ctrl+Alt+G"));
    m.N4 = AddSeparator(m.Opcje1, "N4");
    m.Demonstracja1 =
        AddItem(m.Opcje1, "Demonstracja1", "&Demo of wave motion", QKeySequence("Ctrl+Alt+D"));
    m.Demonstracja1->setCheckable(true);

    m.Pomoc1 = m.MainMenu->addMenu("&Help");
    m.Pomoc1->setObjectName("Pomoc1");
    m.Pomoc2 = AddItem(m.Pomoc1, "Pomoc2", "Function parser help", QKeySequence("F1"));
    m.Oprogramie1 = AddItem(m.Pomoc1, "Oprogramie1", "&About", QKeySequence("F2"));
}

void BuildToolBar(QWidget* parent, ToolBarButtons& t) {
    t.ToolBarMain = new QWidget(parent);
    t.ToolBarMain->setObjectName("ToolBarMain");
    t.ToolBarMain->setFixedHeight(34);
    t.ToolBarMain->setAccessibleName("Tool bar");
    auto* row = new QHBoxLayout(t.ToolBarMain);
    row->setContentsMargins(2, 2, 2, 2);
    row->setSpacing(2);

    auto* files = new QFrame(t.ToolBarMain);
    files->setObjectName("PanelFileButtons");
    files->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    files->setFixedWidth(97);
    files->setAccessibleName("File");
    auto* fileRow = new QHBoxLayout(files);
    fileRow->setContentsMargins(2, 0, 2, 0);
    fileRow->setSpacing(1);
    t.PanelFileButtons = files;
    t.SpeedButtonNew = AddToolButton(files, "SpeedButtonNew", "new", "New function");
    t.SpeedButtonOpen =
        AddToolButton(files, "SpeedButtonOpen", "open", "Open function and solutions");
    t.SpeedButtonSave =
        AddToolButton(files, "SpeedButtonSave", "save", "Save function and solutions");
    // Icon-only buttons are named after their hints for screen readers.
    t.SpeedButtonNew->setAccessibleName("New function");
    t.SpeedButtonOpen->setAccessibleName("Open");
    t.SpeedButtonSave->setAccessibleName("Save");
    row->addWidget(files);

    auto* runs = new QFrame(t.ToolBarMain);
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
    t.PanelRunButtons = runs;
    t.SpeedButtonGreedy =
        AddRunButton(runs, "SpeedButtonGreedy", "greedy", "Greedy", "Start Greedy algorithm");
    t.SpeedButtonSteepest = AddRunButton(runs, "SpeedButtonSteepest", "steepest", "Steepest",
                                         "Start Steepest algorithm");
    t.SpeedButtonSA = AddRunButton(runs, "SpeedButtonSA", "annealing", "SA",
                                   "Start Simulated Annealing algorithm");
    t.SpeedButtonGeneticAlg = AddRunButton(runs, "SpeedButtonGeneticAlg", "genetic", "Genetic",
                                           "Start Genetic algorithm");
    t.SpeedButtonPause =
        AddRunButton(runs, "SpeedButtonPause", "pause", "Pause", "Pause calculation");
    t.SpeedButtonPause->setCheckable(true);
    t.SpeedButtonStop = AddRunButton(runs, "SpeedButtonStop", "stop", "Stop", "Stop calculation");
    runRow->addStretch(1);
    row->addWidget(runs, 1);
}

}  // namespace quarmel
