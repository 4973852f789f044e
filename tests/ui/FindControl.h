#pragma once

#include <QObject>
#include <QString>
#include <QWidget>

#include <stdexcept>

namespace quarmel::test {

// The control of that objectName under `parent` (the window's pages keep their controls
// private); a missing one ends the test with an error naming it.
template <class T = QWidget>
T* FindControl(const QObject* parent, const QString& name) {
    T* control = parent->findChild<T*>(name);
    if (!control) throw std::runtime_error("no control " + name.toStdString());
    return control;
}

}  // namespace quarmel::test
