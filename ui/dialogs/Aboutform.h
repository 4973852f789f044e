#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

namespace quarmel {

// The About window: no title bar, a rounded outline, modal; only its Close button closes it.
class TFormAbout : public QDialog {
    Q_OBJECT

  public:
    explicit TFormAbout(QWidget* parent = nullptr);

    // Gives the window its rounded outline; nothing outside it is drawn or takes clicks.
    void FormCreate();
    void BitBtnCloseClick();

    QLabel* Image = nullptr;
    QLabel* LabelProgram = nullptr;
    QLabel* LabelVersion = nullptr;
    QLabel* LabelCredits1 = nullptr;
    QLabel* LabelCredits2 = nullptr;
    QLabel* LabelCredits3 = nullptr;
    QPushButton* BitBtnClose = nullptr;

  protected:
    void keyPressEvent(QKeyEvent* event) override;
};

}  // namespace quarmel
