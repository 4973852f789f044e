#pragma once

#include <QTest>

#include <gtest/gtest.h>

// Waits up to `ms` milliseconds for `condition`, processing events meanwhile, and fails the test
// when it never holds. (Qt's QTRY_ macros report to Qt's own test log, which GoogleTest never
// reads: a condition that never held passed silently.)
#define WAIT_FOR_MS(condition, ms) \
    ASSERT_TRUE(QTest::qWaitFor([&] { return static_cast<bool>(condition); }, ms)) << #condition
#define WAIT_FOR(condition) WAIT_FOR_MS(condition, 5000)
