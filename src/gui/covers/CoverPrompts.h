#pragma once
// The questions of the covers commands that the common prompts do not ask:
// the replacement window, a question with Yes, No and Cancel, and a
// confirmation with a single OK button.  Tests script a subclass.
#include <QString>

#include "covers/ReplaceFlow.h"

class QWidget;
class TFormPictureReplace;

class TCoverPrompts {
  public:
    enum class TChoice { Yes, No, Cancel };

    explicit TCoverPrompts(QWidget* parent) : parent_(parent) {}
    virtual ~TCoverPrompts();

    virtual TReplaceAnswer AskReplace(const TReplaceOffer& offer, bool& applyForAll);
    virtual TChoice AskYesNoCancel(const QString& text);
    // True when the user pressed OK (closing the box keeps things as they are).
    virtual bool ConfirmOk(const QString& text);

  protected:
    QWidget* parent_;

  private:
    TFormPictureReplace* window_ = nullptr;
};
