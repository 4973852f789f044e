#pragma once

#include <gtest/gtest.h>

#include <QObject>

#include <stdexcept>
#include <string>

namespace quarmel::test {

// The control of type T named `name` among `root`'s descendants, as a screen reader or a user
// finds it by its name. A missing control fails the test at once.
template <class T>
T* Find(const QObject* root, const char* name) {
    T* found = root->findChild<T*>(QString::fromLatin1(name));
    if (!found) {
        ADD_FAILURE() << "no control named " << name;
        throw std::runtime_error(std::string("no control named ") + name);
    }
    return found;
}

}  // namespace quarmel::test
