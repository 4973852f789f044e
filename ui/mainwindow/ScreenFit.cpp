#include "ui/mainwindow/ScreenFit.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <algorithm>

namespace quarmel {
namespace {

// Room for a title bar and a frame, which a window gets only once shown.
constexpr int kFrameHeight = 40;
constexpr int kFrameWidth = 16;

}  // namespace

void FitToScreen(QWidget* window, QSize wanted) {
    const QScreen* screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    if (!screen) {
        window->resize(wanted);
        return;
    }
    const QRect area = screen->availableGeometry();
    const QSize size(std::min(wanted.width(), area.width() - kFrameWidth),
                     std::min(wanted.height(), area.height() - kFrameHeight));
    window->resize(size);
    window->move(area.left() + (area.width() - size.width()) / 2,
                 area.top() + std::max(0, (area.height() - size.height() - kFrameHeight) / 2));
}

}  // namespace quarmel
