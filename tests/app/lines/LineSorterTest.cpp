// Field and direction choice, key reading and sorting, the heap sort, and
// sorting with a progress record that the reader cancels.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/lines/ALineSorter.h"
#include "app/lines/SortableLineGetter.h"
#include "tests/search/facade/FacadeTestSupport.h"

namespace {

// Lines with fixed keys per field; counts the lines prepared.
class Keys : public SortableLineGetter {
public:
    explicit Keys(std::vector<std::vector<uint32_t>> keys) : keys_(std::move(keys)) {}
    long getLineCount() override { return static_cast<long>(keys_.size()); }
    AString getRawLine(long record, long line) override {
        (void)line;
        return AString(record);
    }
    void prepareLine(long record, int16_t sortMode) override {
        (void)sortMode;
        prepared = record;
        ++preparedCount;
    }
    uint32_t getSortKey(int16_t field) override { return keys_[static_cast<size_t>(prepared)][static_cast<size_t>(field)]; }
    long prepared = 0;
    long preparedCount = 0;

private:
    std::vector<std::vector<uint32_t>> keys_;
};

std::string Order(ALineSorter& sorter, long lines) {
    std::string out;
    for (long i = 0; i < lines; ++i)
        out += (i ? "," : "") + std::to_string(sorter.lineToRecord(i));
    return out;
}

}  // namespace

TEST(LineSorter, ChoosesFieldsAndDirections) {
    struct Step {
        int16_t field, toggle;
        int16_t current, direction, fieldChanged;
    };
    struct Case {
        const char* directions;
        int16_t defaultField;
        std::vector<Step> steps;
    } const cases[] = {
        {"NORM,NORM,INV", 0, {{2, 0, 2, 1, 1}, {2, 1, 2, 0, 0}, {2, 1, 2, 1, 0}, {2, 0, 2, 1, 0}, {0, 0, 0, 0, 0}}},
        {"norm,inv", -1, {{1, 0, 1, 1, 1}, {1, 1, 1, 0, 0}, {-1, 0, -1, 0, 1}}},
        {",INV", 1, {{1, 0, 1, 1, 0}, {1, 1, 1, 0, 0}, {0, 1, 0, 0, 1}}},
    };
    for (const Case& c : cases) {
        AFieldBasedSorter sorter(c.directions, c.defaultField);
        int n = 0;
        for (const Step& s : c.steps) {
            SCOPED_TRACE(std::string(c.directions) + " step " + std::to_string(n++));
            sorter.setSortField(s.field, s.toggle);
            EXPECT_EQ(s.current, sorter.currentField());
            EXPECT_EQ(s.direction, sorter.direction());
            EXPECT_EQ(s.fieldChanged, sorter.fieldChanged());
        }
    }
    AFieldBasedSorter two("NORM,INV", 0);
    EXPECT_EQ(2, two.fieldCount());
    two.toggleDirection();
    EXPECT_EQ(1, two.direction());
    EXPECT_EQ("fatal File ulinesrt;line 60", Outcome([] { AFieldBasedSorter bad("NORM,FOO", 0); }));
    EXPECT_EQ("fatal File ulinesrt;line 90", Outcome([&] { two.setSortField(2, 0); }));
}

TEST(LineSorter, SortsKeysAndMapsLinesToRecords) {
    struct Case {
        const char* what;
        std::vector<std::vector<uint32_t>> keys;
        const char* directions;
        int16_t field;
        const char* order;
    } const cases[] = {
        {"ascending", {{3}, {1}, {2}}, "NORM", 0, "1,2,0"},
        {"descending", {{3}, {1}, {2}}, "INV", 0, "0,2,1"},
        {"field -1 keeps the record order", {{3}, {1}, {2}}, "NORM", -1, "0,1,2"},
        {"second field descending at once", {{1, 5}, {2, 9}, {3, 7}}, "NORM,INV", 1, "1,2,0"},
        {"unsigned keys", {{0x80000000u}, {1}}, "NORM", 0, "1,0"},
        {"one line", {{4}}, "NORM", 0, "0"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ARefHold<Keys> getter(new Keys(c.keys));
        auto* sorter = new AMemLongLineSorter(getter.get(), c.directions, c.field, nullptr);
        getter->setLineMap(sorter);
        const long lines = static_cast<long>(c.keys.size());
        EXPECT_EQ(c.order, Order(*sorter, lines));
        EXPECT_EQ(lines, getter->preparedCount) << "keys read once";
        EXPECT_EQ(0, sorter->lineToRecord(lines)) << "past the lines";
        EXPECT_EQ(1, sorter->shouldContinue());
    }
    ARefHold<Keys> getter(new Keys({{3}, {1}, {2}}));
    auto* sorter = new AMemLongLineSorter(getter.get(), "NORM", 0, nullptr);
    getter->setLineMap(sorter);
    sorter->setSortField(0, 1);
    EXPECT_EQ("0,2,1", Order(*sorter, 3)) << "the same field with toggle reverses";
    sorter->setSortField(0, 0);
    EXPECT_EQ("1,2,0", Order(*sorter, 3)) << "toggle 0 returns to the default";
    EXPECT_EQ(3, getter->preparedCount) << "later sorts reuse the keys";

    ARefHold<Keys> none(new Keys({}));
    AMemLongLineSorter* empty = nullptr;
    EXPECT_EQ("ok", Outcome([&] { empty = new AMemLongLineSorter(none.get(), "NORM", 0, nullptr); }))
        << "a getter without lines";
    none->setLineMap(empty);
    EXPECT_EQ(0, empty->lineToRecord(0));
    EXPECT_EQ("fatal File ulinesrt;line 150", Outcome([] { AMemLongLineSorter s(nullptr, "NORM", 0, nullptr); }));
}

TEST(LineSorter, HeapSortOrdersRecordsOfAnySize) {
    static int comparisons;
    auto compare = [](const void* a, const void* b) {
        ++comparisons;
        return static_cast<int>(*static_cast<const int16_t*>(a)) - static_cast<int>(*static_cast<const int16_t*>(b));
    };
    struct Case {
        std::vector<int16_t> values;
        int minComparisons;
    } const cases[] = {{{}, 0}, {{7}, 0}, {{2, 1}, 1}, {{5, 3, 9, 1, 5, 0, -4, 8}, 1}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.values.size());
        // Records of 3 shorts: the key and two bytes of payload that travel with it.
        std::vector<int16_t> records;
        for (int16_t v : c.values)
            records.insert(records.end(), {v, static_cast<int16_t>(v * 2), static_cast<int16_t>(v * 3)});
        comparisons = 0;
        HeapSortRecords(records.data(), static_cast<long>(c.values.size()), 3 * sizeof(int16_t), compare);
        if (c.minComparisons == 0) {
            EXPECT_EQ(0, comparisons);
        }
        for (size_t i = 0; i < c.values.size(); ++i) {
            if (i > 0) {
                EXPECT_LE(records[3 * (i - 1)], records[3 * i]);
            }
            EXPECT_EQ(records[3 * i] * 2, records[3 * i + 1]);
            EXPECT_EQ(records[3 * i] * 3, records[3 * i + 2]);
        }
    }
}
