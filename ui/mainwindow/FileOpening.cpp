// Ways into Open other than its dialog: the examples' menu and files dropped on the window.
#include "ui/mainwindow/FileOpening.h"

#include <QAction>
#include <QDropEvent>
#include <QMenu>
#include <QMimeData>
#include <QUrl>

#include "app/examples/ExampleFolder.h"

namespace quarmel {
namespace {

// The one local file a drag carries, or an empty text.
QString DraggedFile(const QMimeData* data) {
    if (data == nullptr || !data->hasUrls() || data->urls().size() != 1) return {};
    const QUrl url = data->urls().front();
    return url.isLocalFile() ? url.toLocalFile() : QString();
}

class FileDrops : public QObject {
  public:
    FileDrops(QWidget* window, OpenPath open) : QObject(window), open_(std::move(open)) {}

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        const QEvent::Type type = event->type();
        if (type != QEvent::DragEnter && type != QEvent::DragMove && type != QEvent::Drop) {
            return QObject::eventFilter(watched, event);
        }
        auto* drop = static_cast<QDropEvent*>(event);
        const QString file = DraggedFile(drop->mimeData());
        if (file.isEmpty()) return false;
        drop->acceptProposedAction();
        if (type == QEvent::Drop) open_(file.toStdString());
        return true;
    }

  private:
    OpenPath open_;
};

}  // namespace

QMenu* AddExamplesMenu(QMenu* file, QAction* before, QAction* openItem, const std::string& folder,
                       const OpenPath& open) {
    if (folder.empty()) return nullptr;
    const ExampleCatalogue catalogue = ReadCatalogueIn(folder);
    if (catalogue.Examples.empty()) return nullptr;
    auto* examples = new QMenu("&Examples", file);
    examples->setObjectName("MenuExamples");
    for (const ExampleGroup& group : GroupByDimension(catalogue.Examples)) {
        QMenu* count = examples->addMenu(QString::fromStdString(group.Caption));
        count->setObjectName(QString("MenuExamples%1").arg(group.Dimension));
        count->setToolTipsVisible(true);
        for (const ExampleProblem& e : group.Examples) {
            QAction* item = count->addAction(QString::fromStdString(e.Name));
            item->setToolTip(QString::fromStdString(e.Description));
            const std::string path = folder + "/" + e.File;
            QObject::connect(item, &QAction::triggered, examples, [open, path] { open(path); });
        }
    }
    file->insertMenu(before, examples);
    QObject::connect(openItem, &QAction::changed, examples, [examples, openItem] {
        examples->menuAction()->setEnabled(openItem->isEnabled());
    });
    return examples;
}

void AcceptFileDrops(QWidget* window, const OpenPath& open) {
    window->setAcceptDrops(true);
    window->installEventFilter(new FileDrops(window, open));
}

}  // namespace quarmel
