#pragma once

class QAction;
class QMenu;
class QMenuBar;
class QToolButton;
class QWidget;

namespace quarmel {

// The main window's menu, by the names its items are known by (each item's objectName).
struct MainMenuItems {
    QMenuBar* MainMenu = nullptr;
    QMenu* Plik1 = nullptr;
    QAction* Nowafunkcja1 = nullptr;
    QAction* Wczytajwyniki1 = nullptr;
    QAction* Zapiszwyniki1 = nullptr;
    QAction* N6 = nullptr;
    QAction* Zamknij1 = nullptr;
    QMenu* Optymalizacja1 = nullptr;
    QAction* Funkcja1 = nullptr;
    QAction* Wykresfunkcji1 = nullptr;
    QAction* N1 = nullptr;
    QAction* Greedy1 = nullptr;
    QAction* Steepest1 = nullptr;
    QAction* Symulowanewyarzanie1 = nullptr;
    QAction* N5 = nullptr;
    QAction* AlgorytmGenetyczny1 = nullptr;
    QAction* N3 = nullptr;
    QAction* Pauza1 = nullptr;
    QAction* Stop1 = nullptr;
    QAction* N2 = nullptr;
    QAction* Rozwizania1 = nullptr;
    QAction* N7 = nullptr;
    // The reference algorithms, an item per row of the algorithm table that is one.
    QMenu* ReferenceAlgorithms1 = nullptr;
    QMenu* Opcje1 = nullptr;
    QAction* Algorytmylokalne2 = nullptr;
    QAction* AlgorytmGenetyczny2 = nullptr;
    QAction* N4 = nullptr;
    QAction* Demonstracja1 = nullptr;
    QMenu* Pomoc1 = nullptr;
    QAction* Pomoc2 = nullptr;
    QAction* Oprogramie1 = nullptr;
};

// The main window's tool bar: the file buttons and the dark panel of run buttons.
struct ToolBarButtons {
    QWidget* ToolBarMain = nullptr;
    QWidget* PanelFileButtons = nullptr;
    QWidget* PanelRunButtons = nullptr;
    QToolButton* SpeedButtonNew = nullptr;
    QToolButton* SpeedButtonOpen = nullptr;
    QToolButton* SpeedButtonSave = nullptr;
    QToolButton* SpeedButtonGreedy = nullptr;
    QToolButton* SpeedButtonSteepest = nullptr;
    QToolButton* SpeedButtonSA = nullptr;
    QToolButton* SpeedButtonGeneticAlg = nullptr;
    QToolButton* SpeedButtonPause = nullptr;
    QToolButton* SpeedButtonStop = nullptr;
};

// Builds the menu into the window's menu bar and the tool bar into `parent`.
void BuildMainMenu(QMenuBar* bar, MainMenuItems& m);
void BuildToolBar(QWidget* parent, ToolBarButtons& t);

}  // namespace quarmel
