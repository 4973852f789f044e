#include "ui/dialogs/Helpfunctionform.h"

#include <QFontDatabase>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShortcut>
#include <QVBoxLayout>

#include "ui/dialogs/HelpText.h"

namespace quarmel {

TFormHelpFunction::TFormHelpFunction(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName("FormHelpFunction");
    setWindowTitle("Function parser help");
    resize(510, 419);

    auto* column = new QVBoxLayout(this);
    GroupBoxHelp = new QGroupBox("Function parser help:", this);
    GroupBoxHelp->setObjectName("GroupBoxHelp");
    auto* inside = new QVBoxLayout(GroupBoxHelp);
    MemoParserHelp = new QPlainTextEdit(GroupBoxHelp);
    MemoParserHelp->setObjectName("MemoParserHelp");
    // The descriptions stand in a column, so the text needs a fixed-width font and no wrapping.
    MemoParserHelp->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    MemoParserHelp->setLineWrapMode(QPlainTextEdit::NoWrap);
    MemoParserHelp->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    MemoParserHelp->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    MemoParserHelp->setTabChangesFocus(true);
    MemoParserHelp->setPlainText(QString::fromStdString(ParserHelpText()));
    MemoParserHelp->setAccessibleName("Function parser help");
    inside->addWidget(MemoParserHelp);
    column->addWidget(GroupBoxHelp, 1);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    BitBtnClose = new QPushButton("Close", this);
    BitBtnClose->setObjectName("BitBtnClose");
    buttons->addWidget(BitBtnClose);
    column->addLayout(buttons);
    connect(BitBtnClose, &QPushButton::clicked, this, [this] { BitBtnCloseClick(); });
    // Escape closes it as it closes a dialog.
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(escape, &QShortcut::activated, this, [this] { BitBtnCloseClick(); });
}

void TFormHelpFunction::BitBtnCloseClick() {
    close();
}

}  // namespace quarmel
