#include "ui/mainwindow/Accessibility.h"

#include <QWidget>

namespace quarmel {

QString SpokenCaption(const QString& caption) {
    QString text;
    for (int i = 0; i < caption.size(); ++i) {
        if (caption[i] == '&' && i + 1 < caption.size()) {
            ++i;  // "&&" stands for one ampersand, "&x" for x
        }
        text += caption[i];
    }
    text = text.trimmed();
    if (text.endsWith(':')) text.chop(1);
    return text.trimmed();
}

void NameAfter(QWidget* control, const QString& caption) {
    control->setAccessibleName(SpokenCaption(caption));
}

void SetHint(QWidget* control, const QString& hint) {
    control->setToolTip(hint);
    control->setAccessibleDescription(hint);
}

}  // namespace quarmel
