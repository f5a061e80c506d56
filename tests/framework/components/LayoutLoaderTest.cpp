// Layout loader: the record, byte order and version, grafting, includes, the
// failure report, and damaged layouts.
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "base/object/AMemoryStream.h"
#include "framework/components/ALayoutLoader.h"
#include "framework/resources/AResource.h"
#include "tests/framework/FrameworkTestSupport.h"

namespace {

using Bytes = std::vector<unsigned char>;

const Bytes kNoChildren = {0xFF, 0xFF, 0xFF, 0xFF, 0x00, 0x00};

Bytes Block(int16_t count) {
    return {0xFF, 0xFF, 0xFF, 0xFF, static_cast<unsigned char>(count & 0xFF), static_cast<unsigned char>(count >> 8)};
}

// AComponent with an id (little-endian), its end mark, then the given children block.
Bytes Component(int16_t id, const Bytes& children = kNoChildren) {
    Bytes rest = {static_cast<unsigned char>(id & 0xFF), static_cast<unsigned char>(id >> 8), 0xFF, 0xFF};
    rest.insert(rest.end(), children.begin(), children.end());
    return ObjectBytes("AComponent", rest);
}

Bytes Concat(std::initializer_list<Bytes> parts) {
    Bytes out;
    for (const Bytes& p : parts)
        out.insert(out.end(), p.begin(), p.end());
    return out;
}

Bytes ResourceBytes(const char* name) {
    AResource resource(kLayoutType, name);
    resource.open();
    const unsigned char* data = static_cast<const unsigned char*>(resource.getData());
    Bytes out(data, data + resource.getSize());
    resource.close();
    return out;
}

}  // namespace

class LayoutLoaderTest : public FrameworkTest {
protected:
    void clearApp() {
        app->queue.run();
        while (!app->children().empty()) {
            AComponent* last = ChildOf(app->children().lastLink());
            DeleteComponent(last);
        }
        errors.text.clear();
    }
};

TEST_F(LayoutLoaderTest, MinimalLayoutLoadsAndCompilesToTheSameBytes) {
    const Bytes bytes = {0x02, 0x00, 0x02, 0x00, 0xFF, 0xFF, 0xFF, 0xFF, 0x01, 0x00, 'A',  'C',  'o',  'm',  'p', 'o',
                         'n',  'e',  'n',  't',  0x00, 0x07, 0x00, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x00, 0x00};
    AComponent* c = loadBytes(bytes, app);
    ASSERT_NE(nullptr, c);
    EXPECT_EQ("AComponent:7", describeChildren(app));
    EXPECT_EQ(bytes, ResourceBytes("IdSeven"));
}

TEST_F(LayoutLoaderTest, HeaderSelectsByteOrderAndLimitsVersion) {
    struct Row {
        const char* what;
        Bytes bytes;
        const char* children;  // null: the load fails
    } rows[] = {
        {"version 2", LayoutBytes({Block(1), Component(7)}), "AComponent:7"},
        {"version 3", Concat({{2, 0, 3, 0}, Block(1), Component(7)}), nullptr},
        {"negative version", Concat({{2, 0, 0xFF, 0xFF}, Block(1), Component(7)}), "AComponent:7"},
        {"01 00 is big-endian",
         Concat({{1, 0, 0, 2, 0xFF, 0xFF, 0xFF, 0xFF, 0, 1},
                 ObjectBytes("AComponent", {0, 7, 0xFF, 0xFF}),
                 {0xFF, 0xFF, 0xFF, 0xFF, 0, 0}}),
         "AComponent:7"},
        {"00 02 is big-endian",
         Concat({{0, 2, 0, 2, 0xFF, 0xFF, 0xFF, 0xFF, 0, 1},
                 ObjectBytes("AComponent", {1, 2, 0xFF, 0xFF}),
                 {0xFF, 0xFF, 0xFF, 0xFF, 0, 0}}),
         "AComponent:258"},
        {"00 01", Concat({{0, 1, 2, 0}, Block(1), Component(7)}), nullptr},
        {"bad first mark", Concat({{2, 0, 2, 0, 0xFE, 0xFF, 0xFF, 0xFF, 1, 0}, Component(7)}), nullptr},
        {"bad second mark", Concat({{2, 0, 2, 0, 0xFF, 0xFF, 0xFF, 0x7F, 1, 0}, Component(7)}), nullptr},
        {"empty block", LayoutBytes({Block(0)}), ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        loadBytes(row.bytes, app);
        EXPECT_EQ(row.children == nullptr, loadFailed);
        EXPECT_EQ(row.children ? row.children : "", describeChildren(app));
        if (!row.children) {
            EXPECT_NE("", errors.text) << "a failure is reported";
        }
        clearApp();
    }
}

TEST_F(LayoutLoaderTest, GraftKeepsTheChildrenOfASingleTopLevelObject) {
    struct Row {
        const char* layout;
        int16_t graft;
        const char* children;
        int16_t answered;
        const char* afterQueueRun;
    } rows[] = {
        {"Three", 1, "AComponent:11 AComponent:12 AComponent:13", 11, "AComponent:11 AComponent:12 AComponent:13"},
        {"three", 0, "AComponent:1", 1, "AComponent:1"},
        {"TwoTop", 1, "AComponent:21 AComponent:22", 21, "AComponent:21 AComponent:22"},
        {"IncludeThreeGrafted", 0, "ATreeIncluder:0 AComponent:11 AComponent:12 AComponent:13", 0,
         "AComponent:11 AComponent:12 AComponent:13"},
        {"IncludeThree", 0, "ATreeIncluder:0 AComponent:1", 0, "AComponent:1"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.layout);
        AComponent* c = AComponent::loadLayout(app, row.layout, row.graft);
        ASSERT_NE(nullptr, c);
        EXPECT_EQ(row.answered, c->id());
        EXPECT_EQ(row.children, describeChildren(app));
        app->queue.run();
        EXPECT_EQ(row.afterQueueRun, describeChildren(app)) << "an includer is gone after one run of the queue";
        clearApp();
    }
}

TEST_F(LayoutLoaderTest, FailuresReportOnceAndDeleteWhatTheLoadMade) {
    const Bytes nestedUnknown = LayoutBytes(
        {Block(1),
         Component(1, Concat({Block(2), Component(2), ObjectBytes("ANope", {0, 0, 0xFF, 0xFF}), kNoChildren}))});
    Bytes deep = kNoChildren;
    for (int i = 0; i < ALayoutLoader::kMaxDepth + 1; ++i)
        deep = Concat({Block(1), Component(static_cast<int16_t>(i + 1), deep)});
    deep.insert(deep.begin(), {2, 0, 2, 0});
    struct Row {
        const char* what;
        Bytes bytes;
        const char* layout;  // loaded by name instead of bytes when set
        const char* report;  // null: only checked to start the report
    } rows[] = {
        {"unregistered class in a nested block", nestedUnknown, nullptr,
         "#LoadComponent Failure:\n\tCannot create an ANope\n"},
        {"registered class that is not a component",
         LayoutBytes({Block(1), ObjectBytes("ACommand", {0, 0, 0xFF, 0xFF}), kNoChildren}), nullptr,
         "#LoadComponent Failure:\n\tCannot create an ACommand\n"},
        {"record ending early", LayoutBytes({Block(2), Component(3), ObjectBytes("AComponent", {9, 0, 0xFF})}), nullptr,
         nullptr},
        {"missing end mark", LayoutBytes({Block(1), ObjectBytes("AComponent", {9, 0, 0xFE, 0xFF}), kNoChildren}),
         nullptr, "#LoadComponent Failure:\n\tWhile initializing AComponent:9 in AComponent:0\n"},
        {"nesting beyond the limit", deep, nullptr, nullptr},
        {"a layout that includes itself", {}, "SelfInclude", nullptr},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        AComponent* c = row.layout ? nullptr : loadBytes(row.bytes, app);
        if (row.layout) {
            bool failed = false;
            try {
                AComponent::loadLayout(app, row.layout, 0);
            } catch (const AError&) {
                failed = true;
            }
            EXPECT_TRUE(failed);
        }
        EXPECT_EQ(nullptr, c);
        EXPECT_EQ("", describeChildren(app)) << "what the load made is deleted";
        EXPECT_EQ(0, AComponent::openDepth());
        EXPECT_EQ(nullptr, AComponent::underConstruction());
        size_t first = errors.text.find("#LoadComponent Failure:\n");
        if (row.report) {
            EXPECT_EQ(row.report, errors.text);
        } else {
            EXPECT_NE(std::string::npos, first);
        }
        EXPECT_EQ(first, errors.text.rfind("#LoadComponent Failure:\n")) << "one report per load";
        clearApp();
    }
}

TEST_F(LayoutLoaderTest, FailedLoadWithoutParentDeletesItsFinishedObjects) {
    // Nothing holds top-level objects made without a parent: the leak check sees them.
    loadBytes(LayoutBytes({Block(2), Component(1, Concat({Block(1), Component(2)})), ObjectBytes("ANope", {})}),
              nullptr);
    EXPECT_TRUE(loadFailed);
    EXPECT_EQ("#LoadComponent Failure:\n\tCannot create an ANope\n", errors.text);

    errors.text.clear();
    loadBytes(LayoutBytes({Block(1), ObjectBytes("ATreeIncluder", {0, 0, 0xFF, 0xFF, 'T', 'h', 'r', 'e', 'e', 0, 0xFF,
                                                                   0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0, 0})}),
              nullptr);
    EXPECT_TRUE(loadFailed) << "an include without a parent would leave its objects unowned";
    EXPECT_EQ("#LoadComponent Failure:\n\tWhile initializing ATreeIncluder:0 in NULL\n", errors.text);
}

TEST_F(LayoutLoaderTest, DamagedLayoutsLoadOrFailWithAReport) {
    const char* const layouts[] = {"Screen", "Three", "IncludeThreeGrafted", "TwoTop", "IdSeven"};
    std::mt19937 random(20261206);
    int loaded = 0;
    int failed = 0;
    for (int round = 0; round < 2000; ++round) {
        Bytes bytes = ResourceBytes(layouts[round % 5]);
        if (round % 2 == 0) {
            bytes.resize(random() % bytes.size());
        } else {
            for (unsigned n = 1 + random() % 3; n > 0; --n)
                bytes[random() % bytes.size()] = static_cast<unsigned char>(random());
        }
        SCOPED_TRACE(round);
        loadBytes(bytes, app);
        if (loadFailed) {
            ++failed;
            ASSERT_NE("", errors.text) << "every failure is reported";
            ASSERT_EQ("", describeChildren(app)) << "a failed load leaves nothing behind";
        } else {
            ++loaded;
        }
        ASSERT_EQ(0, AComponent::openDepth());
        clearApp();
    }
    EXPECT_GT(loaded, 0);
    EXPECT_GT(failed, 1000);
}
