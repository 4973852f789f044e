#pragma once

#include <QRect>
#include <QString>

#include <functional>
#include <string>

#include "ui/dialogs/Dialogs.h"

class QImage;
class QPainter;
class QWidget;

namespace quarmel {

// A save dialog for one kind of export: its filter, extension and suggested name, asking before
// it overwrites.
FileDialogSettings ExportDialog(const char* description, const char* extension,
                                const char* fileName);
// Writes an export in one piece; a failure is said in a message box.
void WriteExport(const std::string& path, const std::string& bytes);

// What paints a picture into an area of any paint device.
using PicturePaint = std::function<void(QPainter&, const QRect&)>;

// A widget's picture as PNG or SVG bytes, at its size on screen (its size hint when it is not
// shown), so a picture of a hidden plot is still whole. The PNG has `scale` pixels for each of
// the widget's (PictureScale of the file's name).
std::string PngBytes(const QImage& image);
std::string WidgetPng(const QWidget& widget, const PicturePaint& paint, int scale);
std::string WidgetSvg(const QWidget& widget, const QString& title, const PicturePaint& paint);

}  // namespace quarmel
