#include "core/SharedText.h"

#include "core/HugePageHeap.h"

#include <cstring>
#include <new>
#include <ostream>
#include <stdexcept>

TSharedText::Block* TSharedText::Make(std::string_view text, std::string_view more) {
    const size_t size = text.size() + more.size();
    if (size == 0) return nullptr;
    if (size > UINT32_MAX - sizeof(Block)) throw std::length_error("text too long");
    // One allocation per distinct text: the header and the characters together.
    void* memory = AllocateFromHugePageHeap(offsetof(Block, chars) + size + 1);
    auto* block = static_cast<Block*>(memory);
    new (&block->references) std::atomic<uint32_t>(1);
    block->size = static_cast<uint32_t>(size);
    if (!text.empty()) std::memcpy(block->chars, text.data(), text.size());
    if (!more.empty()) std::memcpy(block->chars + text.size(), more.data(), more.size());
    block->chars[size] = '\0';
    return block;
}

TSharedText TSharedText::Joined(std::string_view first, std::string_view second) {
    TSharedText joined;
    joined.block_ = Make(first, second);
    return joined;
}

void TSharedText::Free(Block* block) noexcept {
    const size_t bytes = offsetof(Block, chars) + block->size + 1;
    block->references.~atomic();
    FreeToHugePageHeap(block, bytes);
}

std::ostream& operator<<(std::ostream& out, const TSharedText& text) {
    return out << text.view();
}
