#pragma once
// Prompts that answer from a script instead of message boxes and dialogs,
// and a small stand-in for the main window's shell port, for the tests of
// windows and controllers.
#include <QAction>
#include <QDialog>
#include <QStringList>
#include <QWidget>

#include <deque>
#include <memory>
#include <optional>
#include <vector>

#include "gui/common/Prompts.h"
#include "gui/shell/CommandTable.h"
#include "gui/shell/ShellPort.h"

// Answers instead of message boxes and dialogs; remembers what was said.
class TScriptedPrompts : public TPrompts {
  public:
    TScriptedPrompts() : TPrompts(nullptr) {}

    std::deque<bool> confirmAnswers;  // empty: Yes
    std::deque<std::optional<QString>> textAnswers;
    QString openFile, saveFile;
    QString saveStart;  // where the last save dialog started
    QStringList informed, errors, questions;
    QStringList modals;  // the object names of the windows opened modally

    bool Confirm(const QString& text) override {
        questions << text;
        if (confirmAnswers.empty()) return true;
        const bool answer = confirmAnswers.front();
        confirmAnswers.pop_front();
        return answer;
    }
    void Inform(const QString& text) override { informed << text; }
    void Error(const QString& text) override { errors << text; }
    void ErrorCaptioned(const QString& text, const QString&) override { errors << text; }
    std::optional<QString> AskText(const QString&, const QString& prompt,
                                   const QString& initial) override {
        questions << prompt;
        if (textAnswers.empty()) return initial;
        const bool given = textAnswers.front().has_value();
        const QString answer = textAnswers.front().value_or(QString());
        textAnswers.pop_front();
        if (!given) return std::nullopt;
        return answer;
    }
    QString OpenFileName(const QString&, const QString&) override { return openFile; }
    QString SaveFileName(const QString& start, const QString&) override {
        saveStart = start;
        return saveFile;
    }
    // A modal window is closed at once, as with Cancel.
    int RunModal(QDialog& dialog) override {
        modals << dialog.objectName();
        return 0;
    }
};

// A window with one action per command, named as the main window names them.
class TFakeShell : public TShellPort {
  public:
    TFakeShell() : window_(std::make_unique<QWidget>()) {
        for (const auto& info : CommandTable()) {
            auto* action = new QAction(info.name, window_.get());
            action->setObjectName(info.name);
            actions_.push_back(action);
        }
    }

    QAction* Action(TCommandId id) const override { return actions_[static_cast<size_t>(id)]; }
    QWidget* Window() const override { return window_.get(); }
    void SetBusy(bool on) override { busy += on ? 1 : -1; }
    bool IsBusy() const override { return busy > 0; }
    void ShowStatus(const QString& text) override { status = text; }
    void RefreshCommands() override { ++refreshed; }
    void RegisterTranslatableWindow(QWidget* window) override { registered.push_back(window); }

    int busy = 0;
    int refreshed = 0;
    QString status;
    std::vector<QWidget*> registered;

  private:
    std::unique_ptr<QWidget> window_;
    std::vector<QAction*> actions_;
};
