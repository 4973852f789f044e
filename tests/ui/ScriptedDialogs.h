#pragma once

#include <gtest/gtest.h>

#include <deque>
#include <string>
#include <vector>

#include "ui/dialogs/Dialogs.h"

namespace quarmel::test {

// Records every message box in order and answers questions and file choices from a script.
// A question or file choice that the test did not script fails the test at once (answering
// No / cancel), so no test can hang on a dialog.
class ScriptedDialogs : public Dialogs {
  public:
    struct Shown {
        std::string Kind;  // "message", "error", "confirm"
        std::string Caption;
        std::string Text;
        DefaultButton Default = DefaultButton::Yes;  // of a question
    };

    void Message(const std::string& text) override { shown.push_back({"message", "", text}); }
    void Error(const std::string& text) override { shown.push_back({"error", "", text}); }
    bool Confirm(const std::string& caption, const std::string& text,
                 DefaultButton defaultButton) override {
        shown.push_back({"confirm", caption, text, defaultButton});
        if (answers.empty()) {
            ADD_FAILURE() << "unexpected question: " << caption << ": " << text;
            return false;
        }
        const bool answer = answers.front();
        answers.pop_front();
        return answer;
    }
    std::string OpenFileName(const FileDialogSettings& settings) override {
        return NextFile(settings);
    }
    std::string SaveFileName(const FileDialogSettings& settings) override {
        return NextFile(settings);
    }

    std::vector<std::string> Texts(const std::string& kind) const {
        std::vector<std::string> texts;
        for (const Shown& s : shown) {
            if (s.Kind == kind) texts.push_back(s.Text);
        }
        return texts;
    }
    std::vector<std::string> Messages() const { return Texts("message"); }
    std::vector<std::string> Errors() const { return Texts("error"); }

    std::vector<Shown> shown;
    std::deque<bool> answers;
    std::deque<std::string> files;
    std::vector<FileDialogSettings> fileDialogs;

  private:
    std::string NextFile(const FileDialogSettings& settings) {
        fileDialogs.push_back(settings);
        if (files.empty()) {
            ADD_FAILURE() << "unexpected file dialog";
            return {};
        }
        std::string file = files.front();
        files.pop_front();
        return file;
    }
};

}  // namespace quarmel::test
