#pragma once

#include <QFont>

namespace quarmel {

// The small bold font of the chart's value labels: 10 pixels high on a screen of device pixel
// ratio 1, scaled with the ratio, since the glyphs are drawn in device pixels.
int ChartLabelPixelSize(double devicePixelRatio);
QFont ChartLabelFont(double devicePixelRatio = 1.0);

// Makes 256 display lists in the current OpenGL context, one per character code (Latin-1):
// list base + c draws the bitmap of character c at the raster position, in the current colour,
// and moves the raster position on by the character's advance. Returns the base.
unsigned BuildLabelGlyphs(const QFont& font);

}  // namespace quarmel
