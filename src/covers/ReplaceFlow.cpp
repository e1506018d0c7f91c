#include "covers/ReplaceFlow.h"

TReplaceFlow::TReplaceFlow(const TReplacePrompts& prompts, std::string warning)
    : prompts_(prompts), warning_(std::move(warning)) {}

TReplaceFlow::TStep TReplaceFlow::Decide(const std::function<TReplaceOffer()>& makeOffer) {
    if (!prompts_.AskReplace) return TStep::Replace;
    if (!applyForAll_) {
        const TReplaceAnswer answer = prompts_.AskReplace(makeOffer(), applyForAll_);
        if (answer == TReplaceAnswer::Stop) return TStep::End;
        answer_ = answer;
        if (applyForAll_ && answer_ == TReplaceAnswer::Yes && prompts_.Confirm &&
            !prompts_.Confirm(warning_))
            return TStep::End;
    }
    return answer_ == TReplaceAnswer::Yes ? TStep::Replace : TStep::Keep;
}
