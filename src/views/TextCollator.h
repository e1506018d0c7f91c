#pragma once
// Locale-aware, case-insensitive ordering of texts (ICU collator at secondary
// strength: accents count, letter case does not; blanks sort before digits and
// digits before letters).  Sort keys are byte strings whose plain byte order
// is the collation order, so they can be computed once and compared cheaply.
// ICU is loaded on the first use of a collator or of LowerText: programs
// and commands that never sort do not pay for loading it at start.
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

class TTextCollator {
  public:
    // An empty locale name means the user's locale (from the environment).
    // ICU's collator is opened on first use.
    explicit TTextCollator(std::string localeName = {});
    ~TTextCollator();
    TTextCollator(const TTextCollator&) = delete;
    TTextCollator& operator=(const TTextCollator&) = delete;

    // The collation key of a UTF-8 text, without its terminating zero byte.
    // It never contains a zero byte, so keys of several texts can be joined
    // with a zero byte between them and still compare part by part.
    std::string SortKey(std::string_view utf8) const;
    // <0, 0, >0 like strcmp.
    int Compare(std::string_view a, std::string_view b) const;
    bool Equal(std::string_view a, std::string_view b) const { return Compare(a, b) == 0; }

  private:
    struct TCollatorHandle;  // ICU's collator, closed with it
    const TCollatorHandle& Collator() const;

    std::string localeName_;
    mutable std::once_flag opened_;
    mutable std::unique_ptr<TCollatorHandle> collator_;
};

// Lower-cases a UTF-8 text (every letter, not only A-Z).
std::string LowerText(std::string_view utf8);
// The first `count` characters (code points) of a UTF-8 text; never splits a
// multi-byte sequence.
std::string FirstCharacters(std::string_view utf8, size_t count);
// Number of characters (code points) of a UTF-8 text.
size_t CharacterCount(std::string_view utf8);

// Sorts texts without regard to letter case and drops every text that equals
// an earlier one under that ordering (the first spelling met stays).
void SortUniqueIgnoringCase(std::vector<std::string>& texts, const TTextCollator& collator);
