#pragma once

#include <QIcon>
#include <QPixmap>
#include <QSize>
#include <QString>

namespace quarmel {

// Our pictures are SVG files in the resources; these draw them at the size a control needs.
QPixmap SvgPixmap(const QString& resource, const QSize& size);
QIcon SvgIcon(const QString& resource);

// Makes the compiled-in resources available (the library is linked statically).
void InitResources();

}  // namespace quarmel
