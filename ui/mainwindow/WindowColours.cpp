#include "ui/mainwindow/WindowColours.h"

#include <QPalette>
#include <QWidget>

#include <algorithm>
#include <cmath>

namespace quarmel {

namespace {

double Linear(double channel) {
    return channel <= 0.04045 ? channel / 12.92 : std::pow((channel + 0.055) / 1.055, 2.4);
}

QColor Blend(const QColor& from, const QColor& to, double t) {
    auto mix = [t](int a, int b) { return static_cast<int>(std::lround(a + (b - a) * t)); };
    return QColor(mix(from.red(), to.red()), mix(from.green(), to.green()),
                  mix(from.blue(), to.blue()));
}

}  // namespace

double RelativeLuminance(const QColor& colour) {
    return 0.2126 * Linear(colour.redF()) + 0.7152 * Linear(colour.greenF()) +
           0.0722 * Linear(colour.blueF());
}

double ContrastRatio(const QColor& a, const QColor& b) {
    const double la = RelativeLuminance(a);
    const double lb = RelativeLuminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

QColor ReadableOn(const QColor& wanted, const QColor& background, double minimum) {
    if (ContrastRatio(wanted, background) >= minimum) return wanted;
    const QColor white(255, 255, 255);
    const QColor black(0, 0, 0);
    const QColor& towards =
        ContrastRatio(white, background) >= ContrastRatio(black, background) ? white : black;
    for (int step = 1; step < 20; ++step) {
        const QColor shade = Blend(wanted, towards, step / 20.0);
        if (ContrastRatio(shade, background) >= minimum) return shade;
    }
    return towards;
}

void SetLightFieldColours(QWidget* field, const QColor& background) {
    QPalette palette = field->palette();
    palette.setColor(QPalette::Base, background);
    palette.setColor(QPalette::Text, Qt::black);
    palette.setColor(QPalette::Disabled, QPalette::Text, QColor(110, 110, 110));
    field->setPalette(palette);
}

}  // namespace quarmel
