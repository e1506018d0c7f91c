#pragma once
// An immutable UTF-8 text held by a single pointer and shared by copies: the
// catalogue keeps over a million track values, most of them repeated (every
// track of an album names the same artist, album and genre) and a track's
// path is also its key.  Copies share one counted block; the empty text
// holds no block at all.  Assigning a new value replaces the block, never
// changes a shared one.
#include <atomic>
#include <compare>
#include <cstddef>
#include <cstdint>
#include <iosfwd>
#include <string>
#include <string_view>

class TSharedText {
  public:
    TSharedText() noexcept = default;
    TSharedText(std::string_view text) : block_(Make(text)) {}
    TSharedText(const std::string& text) : block_(Make(text)) {}
    TSharedText(const char* text) : block_(Make(text)) {}
    TSharedText(const TSharedText& other) noexcept : block_(other.block_) { Retain(); }
    TSharedText(TSharedText&& other) noexcept : block_(other.block_) { other.block_ = nullptr; }
    ~TSharedText() { Release(); }

    TSharedText& operator=(const TSharedText& other) noexcept {
        if (block_ != other.block_) {
            other.Retain();
            Release();
            block_ = other.block_;
        }
        return *this;
    }
    TSharedText& operator=(TSharedText&& other) noexcept {
        if (this != &other) {
            Release();
            block_ = other.block_;
            other.block_ = nullptr;
        }
        return *this;
    }
    TSharedText& operator=(std::string_view text) { return *this = TSharedText(text); }
    TSharedText& operator=(const std::string& text) { return *this = TSharedText(text); }
    TSharedText& operator=(const char* text) { return *this = TSharedText(text); }

    std::string_view view() const noexcept {
        return block_ ? std::string_view(block_->chars, block_->size) : std::string_view();
    }
    operator std::string_view() const noexcept { return view(); }
    operator std::string() const { return std::string(view()); }
    std::string str() const { return std::string(view()); }

    const char* data() const noexcept { return block_ ? block_->chars : ""; }
    const char* c_str() const noexcept { return data(); }
    size_t size() const noexcept { return block_ ? block_->size : 0; }
    size_t length() const noexcept { return size(); }
    bool empty() const noexcept { return block_ == nullptr; }
    const char* begin() const noexcept { return data(); }
    const char* end() const noexcept { return data() + size(); }
    char front() const noexcept { return data()[0]; }
    char back() const noexcept { return data()[size() - 1]; }
    char operator[](size_t i) const noexcept { return data()[i]; }
    size_t find(std::string_view what, size_t from = 0) const noexcept {
        return view().find(what, from);
    }
    size_t rfind(char what, size_t from = std::string_view::npos) const noexcept {
        return view().rfind(what, from);
    }
    std::string substr(size_t from, size_t count = std::string_view::npos) const {
        return std::string(view().substr(from, count));
    }
    void clear() noexcept {
        Release();
        block_ = nullptr;
    }
    // True when both hold the very same block (equal texts need not).
    bool SharesBlockWith(const TSharedText& other) const noexcept { return block_ == other.block_; }

    friend bool operator==(const TSharedText& a, const TSharedText& b) noexcept {
        return a.block_ == b.block_ || a.view() == b.view();
    }
    friend bool operator==(const TSharedText& a, std::string_view b) noexcept {
        return a.view() == b;
    }
    friend bool operator==(const TSharedText& a, const std::string& b) noexcept {
        return a.view() == std::string_view(b);
    }
    friend bool operator==(const TSharedText& a, const char* b) noexcept {
        return a.view() == std::string_view(b);
    }
    friend std::strong_ordering operator<=>(const TSharedText& a, const TSharedText& b) noexcept {
        return a.view() <=> b.view();
    }
    friend std::strong_ordering operator<=>(const TSharedText& a, std::string_view b) noexcept {
        return a.view() <=> b;
    }
    friend std::strong_ordering operator<=>(const TSharedText& a, const std::string& b) noexcept {
        return a.view() <=> std::string_view(b);
    }
    friend std::strong_ordering operator<=>(const TSharedText& a, const char* b) noexcept {
        return a.view() <=> std::string_view(b);
    }
    friend std::string operator+(const TSharedText& a, std::string_view b) {
        std::string joined(a.view());
        joined += b;
        return joined;
    }
    friend std::string operator+(std::string_view a, const TSharedText& b) {
        std::string joined(a);
        joined += b.view();
        return joined;
    }
    friend std::string operator+(const std::string& a, const TSharedText& b) {
        return std::string_view(a) + b;
    }
    friend std::string operator+(const char* a, const TSharedText& b) {
        return std::string_view(a) + b;
    }
    friend std::ostream& operator<<(std::ostream& out, const TSharedText& text);

    // The two texts one after the other, made in one allocation (a list load
    // joins a folder and a name for every track).
    static TSharedText Joined(std::string_view first, std::string_view second);

  private:
    struct Block {
        std::atomic<uint32_t> references;
        uint32_t size;
        char chars[1];  // size characters and a terminating zero
    };

    static Block* Make(std::string_view text, std::string_view more = {});
    void Retain() const noexcept {
        if (block_) block_->references.fetch_add(1, std::memory_order_relaxed);
    }
    void Release() noexcept {
        if (block_ && block_->references.fetch_sub(1, std::memory_order_acq_rel) == 1) Free(block_);
    }
    static void Free(Block* block) noexcept;

    Block* block_ = nullptr;
};

// Sets `field` to `text`, sharing the block of `candidate` when it holds the
// same text, so that repeated values are stored once.
inline void AssignSharing(TSharedText& field, std::string_view text, const TSharedText& candidate) {
    if (!text.empty() && candidate == text)
        field = candidate;
    else
        field = text;
}
