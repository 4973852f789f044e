#pragma once

#include <QWidget>

class QGroupBox;
class QPlainTextEdit;
class QPushButton;

namespace quarmel {

// The formula help: an ordinary window that does not block the main one. Its text may be
// edited, but it is never stored or read back.
class TFormHelpFunction : public QWidget {
    Q_OBJECT

  public:
    explicit TFormHelpFunction(QWidget* parent = nullptr);

    void BitBtnCloseClick();

    QGroupBox* GroupBoxHelp = nullptr;
    QPlainTextEdit* MemoParserHelp = nullptr;
    QPushButton* BitBtnClose = nullptr;
};

}  // namespace quarmel
