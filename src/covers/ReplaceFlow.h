#pragma once
// The replacement question that the covers flows (export to the local
// database, merge, import) put each time a cover or picture would be
// replaced.  The window answers Yes, No or Stop and carries an "apply for
// all" box: once ticked, the question is not shown again in that flow and
// its last answer applies to every further case.  Ticking it with Yes asks
// a second, warning question first.
#include <functional>
#include <string>

enum class TReplaceAnswer { Yes, No, Stop };

// What the window shows: the artist and album texts, the current picture
// (JPEG bytes, may be empty) and the offered one.
struct TReplaceOffer {
    std::string Artist;
    std::string Album;
    std::string Current;
    std::string Offered;
};

// Shows the window; `applyForAll` holds the box's state going in and its
// state when the window closed (closing it otherwise is Stop).
using TAskReplace = std::function<TReplaceAnswer(const TReplaceOffer& offer, bool& applyForAll)>;
// A question with Yes and No; true for Yes.
using TConfirm = std::function<bool(const std::string& text)>;

struct TReplacePrompts {
    TAskReplace AskReplace;
    TConfirm Confirm;
};

class TReplaceFlow {
  public:
    enum class TStep { Replace, Keep, End };

    // `warning` is the question asked when "apply for all" is ticked with Yes.
    TReplaceFlow(const TReplacePrompts& prompts, std::string warning);

    // Decides one case; the offer is only made when the window is shown.
    // Missing prompts answer Yes to every case, as a script would.
    TStep Decide(const std::function<TReplaceOffer()>& makeOffer);

  private:
    const TReplacePrompts& prompts_;
    std::string warning_;
    TReplaceAnswer answer_ = TReplaceAnswer::No;
    bool applyForAll_ = false;
};
