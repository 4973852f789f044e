#include "ui/dialogs/Aboutform.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPainterPath>
#include <QPushButton>
#include <QRegion>
#include <QScreen>

#include "ui/dialogs/SvgImages.h"

namespace quarmel {
namespace {

QLabel* AddLabel(QWidget* parent, const char* name, const QString& text, int x, int y) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    label->move(x, y);
    label->adjustSize();
    return label;
}

QLabel* AddCredit(QWidget* parent, const char* name, const QString& text, int y) {
    QLabel* label = AddLabel(parent, name, text, 22, y);
    QFont bold = label->font();
    bold.setBold(true);
    label->setFont(bold);
    QPalette white = label->palette();
    white.setColor(QPalette::WindowText, Qt::white);
    label->setPalette(white);
    label->adjustSize();
    return label;
}

QLabel* AddOnWhite(QWidget* parent, const char* name, const QString& text, int y) {
    QLabel* label = AddLabel(parent, name, text, 22, y);
    label->setAutoFillBackground(true);
    QPalette white = label->palette();
    white.setColor(QPalette::Window, Qt::white);
    white.setColor(QPalette::WindowText, Qt::black);
    label->setPalette(white);
    label->setContentsMargins(3, 1, 3, 1);
    label->adjustSize();
    return label;
}

}  // namespace

TFormAbout::TFormAbout(QWidget* parent) : QDialog(parent, Qt::FramelessWindowHint) {
    setObjectName("FormAbout");
    setWindowTitle("About");
    setModal(true);
    setFixedSize(461, 307);

    Image = new QLabel(this);
    Image->setObjectName("Image");
    Image->setGeometry(0, 0, 461, 307);
    Image->setPixmap(SvgPixmap(":/pictures/about.svg", QSize(461, 307)));
    Image->setScaledContents(false);
    Image->setAccessibleName("Picture of a run finding the bottom of a surface");

    LabelProgram =
        AddOnWhite(this, "LabelProgram", "Program for visualization of function optimization ", 22);
    LabelVersion = AddOnWhite(this, "LabelVersion", "Version 1.0       20.02.2004", 44);
    LabelCredits1 = AddCredit(this, "LabelCredits1", "Written by the Quarmel developers", 226);
    LabelCredits2 = AddCredit(this, "LabelCredits2", "Pictures and icons drawn for Quarmel", 244);
    LabelCredits3 = AddCredit(this, "LabelCredits3", "Contact: quarmel@example.org", 262);

    BitBtnClose = new QPushButton("Close", this);
    BitBtnClose->setObjectName("BitBtnClose");
    BitBtnClose->setGeometry(352, 252, 80, 26);
    BitBtnClose->setDefault(true);
    connect(BitBtnClose, &QPushButton::clicked, this, [this] { BitBtnCloseClick(); });

    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->geometry();
        move(area.center() - QPoint(width() / 2, height() / 2));
    }
    FormCreate();
}

void TFormAbout::FormCreate() {
    // Corners are quarter ellipses 60 pixels wide and 90 high.
    QPainterPath outline;
    outline.addRoundedRect(QRectF(0, 0, width(), height()), 30, 45);
    setMask(QRegion(outline.toFillPolygon().toPolygon()));
}

void TFormAbout::BitBtnCloseClick() {
    accept();
}

void TFormAbout::keyPressEvent(QKeyEvent* event) {
    // Escape would close a dialog; this one closes only through its button (Enter presses it).
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

}  // namespace quarmel
