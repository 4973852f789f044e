#include "ui/chart/ChartFont.h"

#include <QFontMetrics>
#include <QImage>
#include <QPainter>

#include <GL/gl.h>

#include <algorithm>
#include <cmath>
#include <vector>

namespace quarmel {

int ChartLabelPixelSize(double devicePixelRatio) {
    return std::max(1, static_cast<int>(std::lround(10.0 * devicePixelRatio)));
}

QFont ChartLabelFont(double devicePixelRatio) {
    QFont font;
    font.setPixelSize(ChartLabelPixelSize(devicePixelRatio));
    font.setBold(true);
    // Glyphs become one-bit bitmaps: smoothing would only blur their edges.
    font.setStyleStrategy(QFont::NoAntialias);
    return font;
}

namespace {

// The glyph of one character as a bitmap for glBitmap: rows bottom first, 1 bit a pixel,
// most significant bit leftmost, rows padded to whole bytes.
std::vector<GLubyte> GlyphBits(const QFont& font, const QFontMetrics& metrics, QChar ch, int width,
                               int height) {
    QImage image(width, height, QImage::Format_Grayscale8);
    image.fill(0);
    {
        QPainter painter(&image);
        painter.setFont(font);
        painter.setPen(Qt::white);
        painter.drawText(0, metrics.ascent(), QString(ch));
    }
    const int rowBytes = (width + 7) / 8;
    std::vector<GLubyte> bits(static_cast<std::size_t>(rowBytes) * height, 0);
    for (int row = 0; row < height; ++row) {
        const uchar* line = image.constScanLine(height - 1 - row);
        for (int x = 0; x < width; ++x) {
            if (line[x] > 127)
                bits[row * rowBytes + x / 8] |= static_cast<GLubyte>(0x80 >> (x % 8));
        }
    }
    return bits;
}

}  // namespace

unsigned BuildLabelGlyphs(const QFont& font) {
    const GLuint base = glGenLists(256);
    if (base == 0) return 0;
    const QFontMetrics metrics(font);
    const int height = metrics.height();

    GLint alignment = 4;
    glGetIntegerv(GL_UNPACK_ALIGNMENT, &alignment);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    for (int c = 0; c < 256; ++c) {
        glNewList(base + c, GL_COMPILE);
        const QChar ch = QChar::fromLatin1(static_cast<char>(c));
        if (c >= 32 && ch.isPrint()) {
            const int advance = metrics.horizontalAdvance(ch);
            const int width = std::max({1, advance, metrics.boundingRect(ch).right() + 1});
            const std::vector<GLubyte> bits = GlyphBits(font, metrics, ch, width, height);
            // The raster position is the glyph's baseline.
            glBitmap(width, height, 0.0f, static_cast<GLfloat>(metrics.descent()),
                     static_cast<GLfloat>(advance), 0.0f, bits.data());
        }
        glEndList();
    }
    glPixelStorei(GL_UNPACK_ALIGNMENT, alignment);
    return base;
}

}  // namespace quarmel
