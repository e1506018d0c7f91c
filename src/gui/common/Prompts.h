#pragma once
// The questions and messages the list commands put to the user, behind one
// small interface so that tests can answer them without modal windows.
#include <QString>

#include <optional>

class QDialog;
class QWidget;

class TPrompts {
  public:
    explicit TPrompts(QWidget* parent) : parent_(parent) {}
    virtual ~TPrompts() = default;

    // A question with Yes and No; true for Yes.
    virtual bool Confirm(const QString& text);
    virtual void Inform(const QString& text);
    virtual void Error(const QString& text);
    // An error under a caption of its own (a sound library's routine, the
    // program's name).
    virtual void ErrorCaptioned(const QString& text, const QString& caption);
    // A line of text; nothing when cancelled.
    virtual std::optional<QString> AskText(const QString& title, const QString& prompt,
                                           const QString& initial);
    // File dialogs; "" when cancelled.  `filters` are Qt name filters
    // separated by ";;"; the default suffix follows the chosen filter.
    virtual QString OpenFileName(const QString& folder, const QString& filters);
    virtual QString SaveFileName(const QString& folder, const QString& filters);
    // One of the program's own windows, modal; its result code.
    virtual int RunModal(QDialog& dialog);

  protected:
    QWidget* parent_;
};
