#include "ui/plots/PictureExport.h"

#include <QBuffer>
#include <QImage>
#include <QPainter>
#include <QSvgGenerator>
#include <QWidget>

#include "app/datafile/AtomicFile.h"

namespace quarmel {

namespace {

QSize PictureSize(const QWidget& widget) {
    return widget.isVisible() ? widget.size() : widget.sizeHint();
}

}  // namespace

FileDialogSettings ExportDialog(const char* description, const char* extension,
                                const char* fileName) {
    FileDialogSettings d;
    d.Filters = {{description, std::string("*.") + extension}};
    d.DefaultExt = extension;
    d.FileName = fileName;
    d.OverwritePrompt = true;
    return d;
}

void WriteExport(const std::string& path, const std::string& bytes) {
    std::string error;
    if (!WriteFileAtomically(path, bytes, error)) CurrentDialogs().Message(error);
}

std::string PngBytes(const QImage& image) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes.toStdString();
}

std::string WidgetPng(const QWidget& widget, const PicturePaint& paint, int scale) {
    const QSize size = PictureSize(widget);
    const qreal ratio = scale;
    QImage image(size * ratio, QImage::Format_ARGB32);
    image.setDevicePixelRatio(ratio);
    QPainter painter(&image);
    paint(painter, QRect(QPoint(0, 0), size));
    painter.end();
    return PngBytes(image);
}

std::string WidgetSvg(const QWidget& widget, const QString& title, const PicturePaint& paint) {
    const QSize size = PictureSize(widget);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QSvgGenerator svg;
    svg.setOutputDevice(&buffer);
    svg.setSize(size);
    svg.setViewBox(QRect(QPoint(0, 0), size));
    svg.setTitle(title);
    QPainter painter(&svg);
    paint(painter, QRect(QPoint(0, 0), size));
    painter.end();
    return bytes.toStdString();
}

}  // namespace quarmel
