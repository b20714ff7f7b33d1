// The start marks the benchmark reads: written into the shared block when it
// exists, in counter order, bounded by the block's capacity.
#include "OrvStartTrace.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <thread>
#include <vector>

namespace {

constexpr size_t kGuardBytes = 4096;

// The benchmark's side: the block, with guard bytes behind it that no mark
// may touch.
class BenchmarkBlock {
public:
    BenchmarkBlock() {
        m_mapping = ::CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0,
                                         sizeof(OrvStartTraceBlock) + kGuardBytes, ORV_START_TRACE_NAME);
        if (m_mapping) m_view = ::MapViewOfFile(m_mapping, FILE_MAP_WRITE, 0, 0, 0);
        if (m_view) std::memset(Guard(), 0xAB, kGuardBytes);
    }
    ~BenchmarkBlock() {
        if (m_view) ::UnmapViewOfFile(m_view);
        if (m_mapping) ::CloseHandle(m_mapping);
    }
    OrvStartTraceBlock* Block() const { return static_cast<OrvStartTraceBlock*>(m_view); }
    unsigned char* Guard() const { return static_cast<unsigned char*>(m_view) + sizeof(OrvStartTraceBlock); }

private:
    HANDLE m_mapping = nullptr;
    void* m_view = nullptr;
};

}  // namespace

// One test only: the module maps the block at its first mark, so the block
// must exist before any mark of this program.
TEST(StartTrace, MarksFillTheBenchmarksBlockInOrderAndStopAtItsCapacity) {
    BenchmarkBlock bench;
    ASSERT_NE(bench.Block(), nullptr);
    LARGE_INTEGER before;
    ::QueryPerformanceCounter(&before);

    OrvStartMark("first");
    std::thread([] { OrvStartMark("from a worker"); }).join();
    const std::string longName(80, 'x');
    OrvStartMark(longName.c_str());
    OrvStartMark(nullptr);  // ignored

    OrvStartTraceBlock& block = *bench.Block();
    ASSERT_EQ(block.count, 3);
    EXPECT_STREQ(block.marks[0].name, "first");
    EXPECT_STREQ(block.marks[1].name, "from a worker");
    EXPECT_NE(block.marks[0].thread, block.marks[1].thread);
    EXPECT_EQ(std::string(block.marks[2].name), std::string(sizeof block.marks[2].name - 1, 'x'));
    EXPECT_GE(block.marks[0].counter, before.QuadPart);
    EXPECT_LE(block.marks[0].counter, block.marks[1].counter);
    EXPECT_LE(block.marks[1].counter, block.marks[2].counter);

    // Two threads past the capacity: every slot filled once, nothing beyond.
    auto burst = [] {
        for (int i = 0; i < OrvStartTraceBlock::kCapacity; ++i) OrvStartMark("burst");
    };
    std::thread a(burst), b(burst);
    a.join();
    b.join();
    EXPECT_EQ(block.count, 3 + 2 * OrvStartTraceBlock::kCapacity);
    for (LONG i = 3; i < OrvStartTraceBlock::kCapacity; ++i) EXPECT_STREQ(block.marks[i].name, "burst") << i;
    for (size_t i = 0; i < kGuardBytes; ++i) ASSERT_EQ(bench.Guard()[i], 0xAB) << i;
}
