// A long read runs on its own thread so the window keeps repainting; input is held off until it
// ends, so the command that started it finishes as it would have without the thread.
#include "ui/mainwindow/BackgroundRead.h"

#include <QApplication>
#include <QEvent>
#include <QEventLoop>
#include <QFileInfo>
#include <QPointer>
#include <QProgressDialog>
#include <QTimer>
#include <QWidget>
#include <QWindow>

#include <exception>
#include <filesystem>
#include <system_error>
#include <thread>

namespace quarmel {
namespace {

// How long a read may take before the busy dialog shows: a read that is soon done shows none.
constexpr int kDialogDelayMs = 300;

// Drops the user's input to every window while it is installed: a click made while the program
// was busy is not replayed afterwards. A request to close a window is held instead, and made
// again once the work is done, so the window closes as asked (asking first if it asks).
class InputHeldOff : public QObject {
  public:
    InputHeldOff() { qApp->installEventFilter(this); }
    ~InputHeldOff() override {
        qApp->removeEventFilter(this);
        for (const QPointer<QWidget>& window : closing_) {
            if (window) QTimer::singleShot(0, window, [w = window] { w->close(); });
        }
    }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Close) {
            QWidget* window = WindowOf(watched);
            if (window && !closing_.contains(window)) closing_ << window;
            return true;
        }
        if (event->isInputEvent() || event->type() == QEvent::Shortcut ||
            event->type() == QEvent::ShortcutOverride) {
            return true;
        }
        return QObject::eventFilter(watched, event);
    }

  private:
    // The top-level widget a close request is for: sent to the widget, or by the window system
    // to its window.
    static QWidget* WindowOf(QObject* watched) {
        if (auto* widget = qobject_cast<QWidget*>(watched)) {
            return widget->isWindow() ? widget : nullptr;
        }
        for (QWidget* top : QApplication::topLevelWidgets()) {
            if (static_cast<QObject*>(top->windowHandle()) == watched) return top;
        }
        return nullptr;
    }

    QList<QPointer<QWidget>> closing_;
};

}  // namespace

void RunAwayFromWindow(QWidget* window, const QString& label, const std::function<void()>& work) {
    const InputHeldOff held;
    QProgressDialog busy(label, QString(), 0, 0, window);
    busy.setObjectName("ReadingProgress");
    busy.setWindowTitle(QApplication::applicationName());
    busy.setWindowModality(Qt::WindowModal);
    busy.setCancelButton(nullptr);
    busy.setMinimumDuration(kDialogDelayMs);
    busy.setValue(0);  // starts the delay after which the dialog shows

    QEventLoop loop;
    std::exception_ptr thrown;
    std::thread worker([&] {
        try {
            work();
        } catch (...) {
            thrown = std::current_exception();
        }
        // Queued, so the loop ends even when the work ended before the loop began.
        QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
    });
    loop.exec();
    worker.join();
    if (thrown) std::rethrow_exception(thrown);
}

DataFileReading ReadDataFileKeepingWindow(QWidget* window, const std::string& path) {
    std::error_code error;
    const std::uintmax_t bytes = std::filesystem::file_size(path, error);
    // A size that cannot be had is the reader's to report, at once.
    if (error || bytes < kBackgroundReadBytes) return ReadDataFile(path);
    DataFileReading reading;
    const QString name = QFileInfo(QString::fromStdString(path)).fileName();
    RunAwayFromWindow(window, "Reading " + name + "...", [&] { reading = ReadDataFile(path); });
    return reading;
}

}  // namespace quarmel
