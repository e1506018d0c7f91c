#include "core/HugePageHeap.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace {

struct TBlock {
    unsigned char* bytes;
    size_t size;
    unsigned char mark;
};

void Fill(const TBlock& block) { std::memset(block.bytes, block.mark, block.size); }
bool Intact(const TBlock& block) {
    for (size_t i = 0; i < block.size; ++i)
        if (block.bytes[i] != block.mark) return false;
    return true;
}

// The flags of the mapping that holds `address`, from /proc/self/smaps.
std::string MappingFlags(const void* address) {
    const auto at = reinterpret_cast<uintptr_t>(address);
    std::ifstream smaps("/proc/self/smaps");
    std::string line;
    bool inside = false;
    while (std::getline(smaps, line)) {
        uintptr_t start = 0, end = 0;
        char dash = 0;
        std::istringstream range(line);
        if (range >> std::hex >> start >> dash >> end && dash == '-' &&
            line.find(' ') > line.find('-')) {
            inside = start <= at && at < end;
            continue;
        }
        if (inside && line.rfind("VmFlags:", 0) == 0) return line;
    }
    return {};
}

TEST(HugePageHeap, BlocksOfEverySizeAreAlignedSeparateAndReused) {
    std::vector<TBlock> blocks;
    for (size_t size : {1, 15, 16, 17, 48, 100, 511, 512, 513, 4000})
        for (int copy = 0; copy < 50; ++copy) {
            auto* bytes = static_cast<unsigned char*>(AllocateFromHugePageHeap(size));
            ASSERT_NE(bytes, nullptr);
            EXPECT_EQ(reinterpret_cast<uintptr_t>(bytes) % 16, 0u) << size;
            blocks.push_back({bytes, size, static_cast<unsigned char>(blocks.size())});
            Fill(blocks.back());
        }
    for (const auto& block : blocks) EXPECT_TRUE(Intact(block)) << block.size;

    // A block given back is handed out again for the same size.
    void* freed = blocks.front().bytes;
    FreeToHugePageHeap(freed, blocks.front().size);
    if (HugePageHeapServes(1)) {
        EXPECT_EQ(AllocateFromHugePageHeap(1), freed);
    } else {
        freed = AllocateFromHugePageHeap(1);
    }
    blocks.front().bytes = static_cast<unsigned char*>(freed);
    for (const auto& block : blocks) FreeToHugePageHeap(block.bytes, block.size);
    FreeToHugePageHeap(nullptr, 16);  // does nothing
}

TEST(HugePageHeap, ThreadsTakeAndFreeEachOthersBlocksWithoutOverlap) {
    // Blocks made on threads that end are freed here, and blocks made here are
    // freed on threads: nothing is handed out twice.
    constexpr int kThreads = 4;
    constexpr int kBlocks = 20000;
    std::vector<std::vector<TBlock>> made(kThreads);
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t)
        threads.emplace_back([&made, t] {
            for (int i = 0; i < kBlocks; ++i) {
                const size_t size = 8 + static_cast<size_t>((i * 37 + t) % 300);
                TBlock block{static_cast<unsigned char*>(AllocateFromHugePageHeap(size)), size,
                             static_cast<unsigned char>(t * 50 + i % 50)};
                Fill(block);
                made[t].push_back(block);
            }
        });
    for (auto& thread : threads) thread.join();
    threads.clear();

    std::set<const void*> seen;
    for (const auto& blocks : made)
        for (const auto& block : blocks) {
            EXPECT_TRUE(seen.insert(block.bytes).second);
            ASSERT_TRUE(Intact(block));
        }
    // Half freed here, half on new threads that make blocks of their own.
    for (int t = 0; t < kThreads; ++t) {
        for (int i = 0; i < kBlocks / 2; ++i) FreeToHugePageHeap(made[t][i].bytes, made[t][i].size);
        threads.emplace_back([&made, t] {
            std::vector<TBlock> own;
            for (int i = kBlocks / 2; i < kBlocks; ++i) {
                FreeToHugePageHeap(made[t][i].bytes, made[t][i].size);
                own.push_back({static_cast<unsigned char*>(AllocateFromHugePageHeap(64)), 64,
                               static_cast<unsigned char>(i)});
                Fill(own.back());
            }
            for (const auto& block : own) EXPECT_TRUE(Intact(block));
            for (const auto& block : own) FreeToHugePageHeap(block.bytes, block.size);
        });
    }
    for (auto& thread : threads) thread.join();
}

TEST(HugePageHeap, SmallBlocksLieInRegionsMarkedForHugePages) {
    if (!HugePageHeapServes(64)) GTEST_SKIP() << "sanitizer build: the ordinary heap serves";
    void* small = AllocateFromHugePageHeap(64);
    const std::string flags = MappingFlags(small);
    ASSERT_FALSE(flags.empty()) << "no mapping found";
    EXPECT_NE(flags.find(" hg"), std::string::npos) << flags;
    FreeToHugePageHeap(small, 64);
    EXPECT_FALSE(HugePageHeapServes(513));
}

}  // namespace
