// Range sets, their cursor, and sorted arrays, including refused growth.
#include "base/object/ARangeArray.h"
#include "base/object/ASortedArray.h"
#include "base/object/InRange.h"
#include "base/procedural/BAlloc.h"
#include "base/procedural/ProcAddress.h"
#include "tests/support/TestHooks.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::string Str(const ARangeArray& a) {
    std::string s;
    for (long i = 0; i < a.count(); ++i)
        s += "[" + std::to_string(a.at(i).start) + "," + std::to_string(a.at(i).end) + ")";
    return s;
}

struct Op {
    char kind;  // '+' add, '-' remove
    int32_t start, end;
};

void* RefuseSystem(uint32_t) {
    return nullptr;
}

}  // namespace

TEST(ARangeArray, AddAndRemove) {
    struct Row {
        std::vector<Op> ops;
        const char* result;
    } rows[] = {
        {{{'+', 0, 5}, {'+', 5, 10}}, "[0,10)"},
        {{{'+', 0, 5}, {'+', 5, 10}, {'+', 11, 12}}, "[0,10)[11,12)"},
        {{{'+', 0, 2}, {'+', 4, 6}, {'+', 8, 9}, {'+', 1, 8}}, "[0,9)"},
        {{{'+', 5, 6}, {'+', 0, 1}, {'+', 3, 4}}, "[0,1)[3,4)[5,6)"},
        {{{'+', 0, 10}, {'-', 3, 4}}, "[0,3)[4,10)"},
        {{{'+', 0, 2}, {'+', 4, 6}, {'+', 8, 10}, {'-', 1, 9}}, "[0,1)[9,10)"},
        {{{'+', 0, 2}, {'+', 4, 6}, {'-', 4, 6}}, "[0,2)"},
        {{{'+', 0, 2}, {'+', 4, 6}, {'-', 0, 5}}, "[5,6)"},
        {{{'+', 0, 2}, {'+', 4, 6}, {'-', -10, 100}}, ""},
        {{{'+', 3, 3}, {'-', 0, 0}}, ""},
    };
    for (const Row& r : rows) {
        ARangeArray a;
        std::string trace;
        for (const Op& op : r.ops) {
            trace += op.kind + std::to_string(op.start) + "," + std::to_string(op.end) + " ";
            if (op.kind == '+')
                a.addRange({op.start, op.end});
            else
                a.removeRange({op.start, op.end});
        }
        SCOPED_TRACE(trace);
        EXPECT_EQ(r.result, Str(a));
    }
}

TEST(ARangeArray, StorageStepsAndRefusedGrowth) {
    ARangeArray a;
    EXPECT_EQ(100, a.capacity());
    for (int32_t i = 0; i < 250; ++i)
        a.addRange({i * 3, i * 3 + 1});
    EXPECT_EQ(250, a.count());
    EXPECT_EQ(300, a.capacity());
    a.removeRange({-1, 1000});
    EXPECT_EQ(0, a.count());
    EXPECT_EQ(100, a.capacity()) << "shrinks back";

    // 4096 pairs fill 32 KB: the next step needs a block of its own from the system.
    for (int32_t i = 0; i < 4099; ++i)
        a.addRange({i * 3, i * 3 + 1});
    ASSERT_EQ(4100, a.capacity());
    BAlloc::setSystemFunctions(RefuseSystem, nullptr);
    int code = FatalExitCodeOf([&] { a.addRange({20000, 20001}); });
    BAlloc::setSystemFunctions(nullptr, nullptr);
    EXPECT_GT(code, 0);
    EXPECT_EQ("AMemError", CapturedBoxes().back().caption);
    EXPECT_EQ(4099, a.count()) << "the set stays as it was";
    EXPECT_EQ(4100, a.capacity());
    a.addRange({20000, 20001});
    EXPECT_EQ(4100, a.count()) << "and takes the next write";
}

TEST(ABinaryCursor, WalksEveryPosition) {
    ARangeArray a;
    a.addRange({7, 8});
    a.addRange({2, 4});
    ABinaryCursor c;
    c.attach(&a);
    std::string walk;
    int32_t p = c.first();
    for (; !c.done(); p = c.next())
        walk += std::to_string(p) + ",";
    EXPECT_EQ("2,3,7,", walk);
    EXPECT_EQ(8, p) << "the walk ends at the last range's end";

    ARangeArray empty;
    c.attach(&empty);
    c.first();
    EXPECT_TRUE(c.done());
    EXPECT_EQ(1, InRange(5, 5, 5));
    EXPECT_EQ(0, InRange(6, 5, 5));
}

TEST(ASortedArray, InsertSearchAndGrowth) {
    ASortedArray s;
    for (int32_t i = 0; i < 99; ++i)
        s.insertAt(i * 2, s.count());
    EXPECT_EQ(100, s.capacity());
    EXPECT_TRUE(s.fitsAt(199, 98, 99));
    EXPECT_FALSE(s.fitsAt(196, 98, 99)) << "equal to the one before";
    EXPECT_TRUE(s.fitsAt(-1, -1, 0));
    s.insertAt(198, 99);
    EXPECT_EQ(200, s.capacity()) << "the 100th value grows the capacity";
    EXPECT_EQ(2, s.lowerBound(4));
    EXPECT_EQ(3, s.upperBound(4));
    EXPECT_EQ(3, s.lowerBound(5));
    EXPECT_EQ(100, s.lowerBound(1000));
    EXPECT_GT(FatalExitCodeOf([&] { s.fitsAt(1, 100, 100); }), 0) << "an index beyond the array";

    ASortedArray big;
    for (int32_t i = 0; i < 8099; ++i)
        big.insertAt(i, i);
    BAlloc::setSystemFunctions(RefuseSystem, nullptr);
    int code = FatalExitCodeOf([&] { big.insertAt(9000, 8099); });
    BAlloc::setSystemFunctions(nullptr, nullptr);
    EXPECT_GT(code, 0);
    EXPECT_EQ(8099, big.count());
    big.insertAt(9000, 8099);
    EXPECT_EQ(9000, big.at(8099));
}

TEST(ProcAddress, FoldingAndLongNames) {
    void* kernel = GetModuleHandleA("kernel32.dll");
    ASSERT_NE(nullptr, kernel);
    EXPECT_NE(nullptr, KY_GetProcAddress(kernel, "GetTickCount", 0));
    EXPECT_EQ(nullptr, KY_GetProcAddress(kernel, "GetTickCount", 1)) << "asks for GETTICKCOUNT";
    EXPECT_EQ(nullptr, KY_GetProcAddress(kernel, std::string(300, 'a').c_str(), 1));
}

TEST(ProcAddress, SystemDllsAreLoadedAtTheirFirstCallAndKept) {
    EXPECT_EQ(nullptr, GetModuleHandleA("COMDLG32.DLL")) << "this test's program does not import it";
    void* open = KY_SystemProc("COMDLG32.DLL", "GetOpenFileNameA");
    EXPECT_NE(nullptr, open);
    EXPECT_NE(nullptr, GetModuleHandleA("COMDLG32.DLL")) << "kept for the process's life";
    EXPECT_EQ(open, KY_SystemProc("COMDLG32.DLL", "GetOpenFileNameA"));
    EXPECT_EQ(nullptr, KY_SystemProc("COMDLG32.DLL", "NoSuchExport"));
    EXPECT_EQ(nullptr, KY_SystemProc("NOSUCHDLL.DLL", "GetOpenFileNameA"));
    EXPECT_EQ(nullptr, KY_SystemProc(nullptr, "GetOpenFileNameA"));
    EXPECT_EQ(nullptr, KY_SystemProc(std::string(300, 'a').c_str(), "x")) << "longer than a path";
}
