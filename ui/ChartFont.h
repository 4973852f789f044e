#pragma once

#include <QFont>

namespace quarmel {

// The small bold font of the chart's value labels.
QFont ChartLabelFont();

// Makes 256 display lists in the current OpenGL context, one per character code (Latin-1):
// list base + c draws the bitmap of character c at the raster position, in the current colour,
// and moves the raster position on by the character's advance. Returns the base.
unsigned BuildLabelGlyphs(const QFont& font);

}  // namespace quarmel
