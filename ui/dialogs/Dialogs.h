#pragma once

#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace quarmel {

// What an open or save dialog is set up with. Filters are (description, patterns) pairs with
// the patterns separated by ";", as "*.txt;*.TXT".
struct FileDialogSettings {
    std::vector<std::pair<std::string, std::string>> Filters;
    std::string DefaultExt;
    std::string InitialDir;
    std::string FileName;
    bool OverwritePrompt = false;
};

// The button of a question that Enter presses. A question whose Yes discards something has No.
enum class DefaultButton { Yes, No };

// Every message box and file dialog of the program goes through this seam, so window tests can
// script the answers and no test ever waits on a modal box. Texts are UTF-8.
class Dialogs {
  public:
    virtual ~Dialogs() = default;
    // A plain message: the application title as caption, one OK button.
    virtual void Message(const std::string& text) = 0;
    // The error box of a command that failed; the text is shown as given.
    virtual void Error(const std::string& text) = 0;
    // A Yes/No question with a caption of its own; true for Yes.
    virtual bool Confirm(const std::string& caption, const std::string& text,
                         DefaultButton defaultButton) = 0;
    // The chosen file, or an empty text when the user cancels.
    virtual std::string OpenFileName(const FileDialogSettings& settings) = 0;
    virtual std::string SaveFileName(const FileDialogSettings& settings) = 0;
};

// The dialogs in use: the real message boxes unless another implementation is installed.
Dialogs& CurrentDialogs();
// Installs an implementation (nullptr goes back to the real one); returns the previous one.
Dialogs* InstallDialogs(Dialogs* dialogs);

// The text of the error box for an error's message: a full stop is added unless there is one.
std::string ErrorBoxText(const std::string& message);

// Shows an error's message in the error box, as every failed command does.
void ShowCommandError(const std::string& message);
// Runs a handler as a command: an error it raises is shown in the error box and the command
// ends there, the program goes on.
void RunCommand(const std::function<void()>& command);

}  // namespace quarmel
