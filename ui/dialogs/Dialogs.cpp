#include "ui/dialogs/Dialogs.h"

#include <exception>

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QStringList>

namespace quarmel {
namespace {

QString FromUtf8(const std::string& s) {
    return QString::fromUtf8(s.data(), int(s.size()));
}

QString QtFilter(const FileDialogSettings& s) {
    QStringList filters;
    for (const auto& [description, patterns] : s.Filters) {
        QString list = FromUtf8(patterns);
        list.replace(';', ' ');
        filters << QString("%1 (%2)").arg(FromUtf8(description), list);
    }
    return filters.join(";;");
}

QString StartPath(const FileDialogSettings& s) {
    QString dir = FromUtf8(s.InitialDir);
    if (s.FileName.empty()) return dir;
    return dir.isEmpty() ? FromUtf8(s.FileName) : dir + '/' + FromUtf8(s.FileName);
}

// The real boxes, parented to the active window so they stay on top of it.
class QtDialogs : public Dialogs {
  public:
    void Message(const std::string& text) override {
        QMessageBox box(QMessageBox::NoIcon, QApplication::applicationName(), FromUtf8(text),
                        QMessageBox::Ok, QApplication::activeWindow());
        box.exec();
    }
    void Error(const std::string& text) override {
        QMessageBox box(QMessageBox::Critical, QApplication::applicationName(), FromUtf8(text),
                        QMessageBox::Ok, QApplication::activeWindow());
        box.exec();
    }
    bool Confirm(const std::string& caption, const std::string& text,
                 DefaultButton defaultButton) override {
        QMessageBox box(QMessageBox::Question, FromUtf8(caption), FromUtf8(text),
                        QMessageBox::Yes | QMessageBox::No, QApplication::activeWindow());
        box.setDefaultButton(defaultButton == DefaultButton::Yes ? QMessageBox::Yes
                                                                 : QMessageBox::No);
        return box.exec() == QMessageBox::Yes;
    }
    std::string OpenFileName(const FileDialogSettings& s) override { return Run(s, false); }
    std::string SaveFileName(const FileDialogSettings& s) override { return Run(s, true); }

  private:
    static std::string Run(const FileDialogSettings& s, bool save) {
        QFileDialog dialog(QApplication::activeWindow(), QString(), StartPath(s), QtFilter(s));
        dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
        dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
        dialog.setDefaultSuffix(FromUtf8(s.DefaultExt));
        dialog.setOption(QFileDialog::DontConfirmOverwrite, !s.OverwritePrompt);
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
        return dialog.selectedFiles().first().toStdString();
    }
};

QtDialogs realDialogs;
Dialogs* installed = nullptr;

}  // namespace

Dialogs& CurrentDialogs() {
    return installed ? *installed : realDialogs;
}

Dialogs* InstallDialogs(Dialogs* dialogs) {
    Dialogs* previous = installed;
    installed = dialogs;
    return previous;
}

std::string ErrorBoxText(const std::string& message) {
    if (message.empty() || message.back() == '.') return message;
    return message + '.';
}

void ShowCommandError(const std::string& message) {
    CurrentDialogs().Error(ErrorBoxText(message));
}

void RunCommand(const std::function<void()>& command) {
    try {
        command();
    } catch (const std::exception& e) {
        ShowCommandError(e.what());
    } catch (...) {
        ShowCommandError("");
    }
}

}  // namespace quarmel
