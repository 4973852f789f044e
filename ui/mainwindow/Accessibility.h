#pragma once

#include <QString>

class QWidget;

namespace quarmel {

// The spoken name of a control taken from the caption of its label or group: the access-key
// marker "&" and a closing ":" are dropped, as a screen reader should not read them.
QString SpokenCaption(const QString& caption);

// Names a control for assistive technology after the caption beside it.
void NameAfter(QWidget* control, const QString& caption);

// A hint: shown as the tooltip and given to assistive technology as the description.
void SetHint(QWidget* control, const QString& hint);

}  // namespace quarmel
