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

    std::deque<bool> confirmAnswers;  // the answers to questions, in turn...
    bool laterAnswer = true;          // ...then this one
    std::deque<std::optional<QString>> textAnswers;
    // File dialogs answer from fileNames, in turn, then openFile or saveFile
    // ("" cancels the dialog).
    std::deque<QString> fileNames;
    QString openFile, saveFile;
    QString lastFolder, lastFilters;  // where the last file dialog started, and its filters
    QStringList dialogFilters;        // the filters of every file dialog, in turn
    QString saveStart;                // where the last save dialog started
    QStringList informed, errors, questions;
    QStringList modals;  // the object names of the windows opened modally

    bool Confirm(const QString& text) override {
        questions << text;
        if (confirmAnswers.empty()) return laterAnswer;
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
    QString OpenFileName(const QString& folder, const QString& filters) override {
        return FileAnswer(folder, filters, openFile);
    }
    QString SaveFileName(const QString& start, const QString& filters) override {
        saveStart = start;
        return FileAnswer(start, filters, saveFile);
    }
    // A modal window is closed at once, as with Cancel.
    int RunModal(QDialog& dialog) override {
        modals << dialog.objectName();
        return QDialog::Rejected;
    }

  private:
    QString FileAnswer(const QString& folder, const QString& filters, const QString& otherwise) {
        lastFolder = folder;
        lastFilters = filters;
        dialogFilters << filters;
        if (fileNames.empty()) return otherwise;
        QString name = fileNames.front();
        fileNames.pop_front();
        return name;
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
    void SetBusy(bool on) override {
        busy += on ? 1 : -1;
        ++busyCalls;
    }
    bool IsBusy() const override { return busy > 0; }
    void ShowStatus(const QString& text) override { status = text; }
    void RefreshCommands() override { ++refreshed; }
    void RegisterTranslatableWindow(QWidget* window) override { registered.push_back(window); }
    void Trigger(TCommandId id) { Action(id)->trigger(); }

    int busy = 0;       // busy mode's depth
    int busyCalls = 0;  // busy mode started or ended
    int refreshed = 0;
    QString status;
    std::vector<QWidget*> registered;

  private:
    std::unique_ptr<QWidget> window_;
    std::vector<QAction*> actions_;
};
