#pragma once

#include <QString>

#include <cstdint>
#include <functional>
#include <string>

#include "app/datafile/DataFile.h"

class QWidget;

namespace quarmel {

// Runs `work` on a thread of its own and returns once it has ended (rethrowing what it threw).
// Meanwhile the window keeps repainting and its timers keep running, but no input reaches any
// window, so nothing the user does can come between the caller's steps; after a moment a
// window-modal busy dialog saying `label` shows that the program is at work. `work` must not
// touch widgets.
void RunAwayFromWindow(QWidget* window, const QString& label, const std::function<void()>& work);

// Files from this size on are read away from the window's thread; smaller ones are read at once,
// as quickly as a click is answered, without a dialog.
constexpr std::uint64_t kBackgroundReadBytes = 4ull << 20;

// Reads the data file at `path` as ReadDataFile does: a large file (kBackgroundReadBytes) with
// RunAwayFromWindow, under a "Reading <file>..." dialog.
DataFileReading ReadDataFileKeepingWindow(QWidget* window, const std::string& path);

}  // namespace quarmel
