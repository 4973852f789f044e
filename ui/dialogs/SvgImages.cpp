#include "ui/dialogs/SvgImages.h"

#include <QPainter>
#include <QSvgRenderer>

// Q_INIT_RESOURCE must be used outside any namespace.
static void InitQuarmelResources() {
    Q_INIT_RESOURCE(quarmel);
}

namespace quarmel {

void InitResources() {
    static bool done = false;
    if (!done) InitQuarmelResources();
    done = true;
}

QPixmap SvgPixmap(const QString& resource, const QSize& size) {
    QPixmap pixmap(size);
    pixmap.fill(Qt::transparent);
    QSvgRenderer renderer(resource);
    QPainter painter(&pixmap);
    renderer.render(&painter);
    return pixmap;
}

QIcon SvgIcon(const QString& resource) {
    QIcon icon;
    for (int side : {16, 24, 32}) icon.addPixmap(SvgPixmap(resource, QSize(side, side)));
    return icon;
}

}  // namespace quarmel
