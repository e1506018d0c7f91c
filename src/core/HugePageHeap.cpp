#include "core/HugePageHeap.h"

#include <sys/mman.h>

#include <cstdint>
#include <mutex>
#include <tuple>
#include <utility>
#include <vector>

namespace {

#if defined(__SANITIZE_ADDRESS__)
constexpr bool kOrdinaryHeapOnly = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool kOrdinaryHeapOnly = true;
#else
constexpr bool kOrdinaryHeapOnly = false;
#endif
#else
constexpr bool kOrdinaryHeapOnly = false;
#endif

constexpr size_t kGrain = 16;
constexpr size_t kLargest = 512;  // larger blocks come from the ordinary heap
constexpr size_t kSizes = kLargest / kGrain;
constexpr size_t kHugePage = size_t{2} << 20;
// Address space taken at a time; only the pages used are ever backed.
constexpr size_t kRegion = size_t{64} << 20;
// What a thread takes from a region at a time.
constexpr size_t kPiece = size_t{256} << 10;

struct TFreeBlock {
    TFreeBlock* next;
};

size_t SizeIndex(size_t bytes) { return bytes == 0 ? 0 : (bytes - 1) / kGrain; }
size_t SizeOf(size_t index) { return (index + 1) * kGrain; }

// What every thread shares: the unused rest of the newest region, the lists
// of threads that ended (kept whole: a list may hold millions of blocks) and
// the pieces they had not used up, and the blocks freed while a thread ends.
struct TShared {
    std::mutex mutex;
    std::vector<TFreeBlock*> lists[kSizes];
    TFreeBlock* loose[kSizes] = {};
    char* next = nullptr;
    char* end = nullptr;
    std::vector<std::pair<char*, char*>> pieces;
};

// Never destroyed: threads and static objects may free blocks at exit.
TShared& Shared() {
    static TShared* shared = new TShared;
    return *shared;
}

// A new region, 2 MiB aligned, marked for huge pages.
char* MapRegion() {
    void* mapped = mmap(nullptr, kRegion + kHugePage, PROT_READ | PROT_WRITE,
                        MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
    if (mapped == MAP_FAILED) throw std::bad_alloc();
    const auto start = reinterpret_cast<uintptr_t>(mapped);
    const uintptr_t aligned = (start + kHugePage - 1) & ~(kHugePage - 1);
    if (aligned > start) munmap(mapped, aligned - start);
    const uintptr_t tail = aligned + kRegion;
    const uintptr_t mappedEnd = start + kRegion + kHugePage;
    if (mappedEnd > tail) munmap(reinterpret_cast<void*>(tail), mappedEnd - tail);
    // Without huge pages (turned off, or not in this kernel) the region
    // simply has small ones.
    (void)madvise(reinterpret_cast<void*>(aligned), kRegion, MADV_HUGEPAGE);
    return reinterpret_cast<char*>(aligned);
}

// A piece of fresh memory, under the shared lock.
std::pair<char*, char*> TakePiece(TShared& shared) {
    if (!shared.pieces.empty()) {
        const auto piece = shared.pieces.back();
        shared.pieces.pop_back();
        return piece;
    }
    if (static_cast<size_t>(shared.end - shared.next) < kPiece) {
        shared.next = MapRegion();
        shared.end = shared.next + kRegion;
    }
    char* piece = shared.next;
    shared.next += kPiece;
    return {piece, piece + kPiece};
}

// Constant-initialised, so reaching it costs no check of whether it is set up.
struct TThreadLists {
    TFreeBlock* lists[kSizes];
    char* next;
    char* end;
    bool ended;  // the thread is ending: its blocks go to the shared lists
};
thread_local TThreadLists threadLists{};

// Gives a thread's lists and unused piece to the others when it ends.
struct TThreadEnd {
    bool armed = false;
    ~TThreadEnd() {
        TThreadLists& own = threadLists;
        TShared& shared = Shared();
        std::lock_guard lock(shared.mutex);
        for (size_t i = 0; i < kSizes; ++i) {
            if (!own.lists[i]) continue;
            shared.lists[i].push_back(own.lists[i]);
            own.lists[i] = nullptr;
        }
        if (own.end - own.next >= static_cast<std::ptrdiff_t>(kLargest))
            shared.pieces.emplace_back(own.next, own.end);
        own.next = own.end = nullptr;
        own.ended = true;
    }
};
thread_local TThreadEnd threadEnd;

// A whole list of blocks of that size from the shared ones; null when none.
TFreeBlock* TakeSharedList(TShared& shared, size_t index) {
    if (!shared.lists[index].empty()) {
        TFreeBlock* list = shared.lists[index].back();
        shared.lists[index].pop_back();
        return list;
    }
    return std::exchange(shared.loose[index], nullptr);
}

void* AllocateShared(size_t index) {
    TShared& shared = Shared();
    std::lock_guard lock(shared.mutex);
    if (TFreeBlock* block = shared.loose[index]) {
        shared.loose[index] = block->next;
        return block;
    }
    if (TFreeBlock* list = TakeSharedList(shared, index)) {
        shared.loose[index] = list->next;
        return list;
    }
    auto [next, end] = TakePiece(shared);
    void* block = next;
    next += SizeOf(index);
    if (end - next >= static_cast<std::ptrdiff_t>(kLargest)) shared.pieces.emplace_back(next, end);
    return block;
}

// The thread's lists and piece are empty for this size.
void* AllocateSlowly(size_t index) {
    TThreadLists& own = threadLists;
    if (own.ended) return AllocateShared(index);
    threadEnd.armed = true;  // from now on the thread gives back what it holds
    TShared& shared = Shared();
    {
        std::lock_guard lock(shared.mutex);
        if (TFreeBlock* list = TakeSharedList(shared, index)) {
            own.lists[index] = list->next;
            return list;
        }
        // The rest of the old piece is too small for this size: it goes to
        // the list of the largest size it holds.
        const size_t rest = static_cast<size_t>(own.end - own.next);
        if (rest >= kGrain) {
            auto* block = reinterpret_cast<TFreeBlock*>(own.next);
            const size_t restIndex = rest / kGrain - 1;
            block->next = own.lists[restIndex];
            own.lists[restIndex] = block;
        }
        std::tie(own.next, own.end) = TakePiece(shared);
    }
    void* block = own.next;
    own.next += SizeOf(index);
    return block;
}

}  // namespace

bool HugePageHeapServes(size_t bytes) { return !kOrdinaryHeapOnly && bytes <= kLargest; }

void* AllocateFromHugePageHeap(size_t bytes) {
    if (!HugePageHeapServes(bytes)) return ::operator new(bytes);
    const size_t index = SizeIndex(bytes);
    TThreadLists& own = threadLists;
    if (TFreeBlock* block = own.lists[index]) {
        own.lists[index] = block->next;
        return block;
    }
    const size_t size = SizeOf(index);
    if (static_cast<size_t>(own.end - own.next) >= size) {
        void* block = own.next;
        own.next += size;
        return block;
    }
    return AllocateSlowly(index);
}

void FreeToHugePageHeap(void* block, size_t bytes) noexcept {
    if (!block) return;
    if (!HugePageHeapServes(bytes)) {
        ::operator delete(block);
        return;
    }
    const size_t index = SizeIndex(bytes);
    auto* freed = static_cast<TFreeBlock*>(block);
    TThreadLists& own = threadLists;
    if (own.ended) {
        TShared& shared = Shared();
        std::lock_guard lock(shared.mutex);
        freed->next = shared.loose[index];
        shared.loose[index] = freed;
        return;
    }
    // A thread that only frees gives its lists back when it ends, too.
    if (!own.lists[index]) threadEnd.armed = true;
    freed->next = own.lists[index];
    own.lists[index] = freed;
}
