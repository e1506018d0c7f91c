#pragma once
// The catalogue's own heap for its many small blocks: shared texts, tracks,
// albums and their track lists.  A large catalogue is millions of them, and
// the kernel's page faults for them were a quarter of a list load on a
// virtual machine.  This heap takes its memory in large regions marked for
// transparent huge pages (madvise MADV_HUGEPAGE), one fault for 2 MiB instead
// of one for 4 KiB, so only the catalogue pays for huge pages and the rest of
// the program (and its start) is left as it is.
//
// Blocks are kept in lists by size, 16 bytes apart, one set of lists per
// thread (a block freed on another thread than the one that took it simply
// joins that thread's lists); larger blocks come from the ordinary heap.
// Memory freed here stays with the heap for the next catalogue.  Built with
// AddressSanitizer, every block comes from the ordinary heap, so that the
// sanitizer keeps seeing each one.
#include <cstddef>
#include <new>

// A block of at least `bytes` bytes, aligned for any object of that size (16).
void* AllocateFromHugePageHeap(size_t bytes);
// Gives back a block of AllocateFromHugePageHeap, with the size it was asked
// for.  Null does nothing.
void FreeToHugePageHeap(void* block, size_t bytes) noexcept;

// True when blocks of that size come from the huge-page regions (for tests).
bool HugePageHeapServes(size_t bytes);

// A base class whose objects live in the huge-page heap.
struct THugePageHeapObject {
    static void* operator new(size_t bytes) { return AllocateFromHugePageHeap(bytes); }
    static void operator delete(void* block, size_t bytes) noexcept {
        FreeToHugePageHeap(block, bytes);
    }
};

// A standard allocator over the huge-page heap (an album's track list).
template <typename T>
struct THugePageAllocator {
    using value_type = T;
    THugePageAllocator() noexcept = default;
    template <typename U>
    THugePageAllocator(const THugePageAllocator<U>&) noexcept {}
    T* allocate(size_t count) {
        if (count > static_cast<size_t>(-1) / sizeof(T)) throw std::bad_array_new_length();
        return static_cast<T*>(AllocateFromHugePageHeap(count * sizeof(T)));
    }
    void deallocate(T* block, size_t count) noexcept { FreeToHugePageHeap(block, count * sizeof(T)); }
    template <typename U>
    bool operator==(const THugePageAllocator<U>&) const noexcept {
        return true;
    }
};
