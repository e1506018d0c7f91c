#include "core/SharedText.h"

#include <cstring>
#include <new>
#include <ostream>
#include <stdexcept>

TSharedText::Block* TSharedText::Make(std::string_view text) {
    if (text.empty()) return nullptr;
    if (text.size() > UINT32_MAX - sizeof(Block)) throw std::length_error("text too long");
    // One allocation per distinct text: the header and the characters together.
    void* memory = ::operator new(offsetof(Block, chars) + text.size() + 1);
    auto* block = static_cast<Block*>(memory);
    new (&block->references) std::atomic<uint32_t>(1);
    block->size = static_cast<uint32_t>(text.size());
    std::memcpy(block->chars, text.data(), text.size());
    block->chars[text.size()] = '\0';
    return block;
}

void TSharedText::Free(Block* block) noexcept {
    block->references.~atomic();
    ::operator delete(block);
}

std::ostream& operator<<(std::ostream& out, const TSharedText& text) {
    return out << text.view();
}
