// The previous queries' rows, the group labels of a cluster definition and
// the buffered membership getter's count.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/lines/ALineClusterer.h"
#include "app/lines/ASVSiSearchLineGetter.h"
#include "app/state/ASiReqSearch.h"
#include "tests/framework/clusters/ClusterTestSupport.h"

namespace {

using ClusterLinesTest = ClusterTest;

class FixedRows : public SortableLineGetter {
public:
    long getLineCount() override { return 3; }
};

}  // namespace

TEST_F(ClusterLinesTest, PreviousQueriesComeNewestFirstWithTheirPlace) {
    struct Row {
        std::vector<const char*> queries;
        const char* rows;
    } const rows[] = {
        {{}, ""},
        {{"a", "b", "c"}, " c#2| b#1| a#0|"},
        {{"chat noir"}, " chat noir#0|"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.rows);
        ASiReqSearch list(0);
        for (const char* q : r.queries)
            list.add(q);
        ASVSiSearchLineGetter getter(&list);
        std::string got;
        for (long i = 0; i < getter.getLineCount(); ++i)
            got += std::string(getter.getRawLine(i, i).c_str()) + "|";
        EXPECT_EQ(r.rows, got);
        EXPECT_EQ("", std::string(getter.getRawLine(getter.getLineCount(), -1).c_str()));
    }
    EXPECT_EQ(0, ASVSiSearchLineGetter(nullptr).getLineCount());
}

TEST_F(ClusterLinesTest, AClusterDefinitionLabelsItsGroups) {
    ALineClusterer clusterer("3\tSciences\r\n12\tArts\nbad line\n300\tTrop grand\n-1\tNegatif\n3\tSciences exactes\n");
    struct Row {
        long group;
        const char* label;  // null: not defined
    } const rows[] = {{3, "Sciences exactes"}, {12, "Arts"}, {300, nullptr}, {-1, nullptr}, {0, nullptr}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.group);
        EXPECT_EQ(r.label != nullptr, clusterer.hasCluster(r.group));
        if (r.label) {
            EXPECT_EQ(r.label, std::string(clusterer.getClusterLabel(r.group).c_str()));
        }
    }
    EXPECT_EQ(2, clusterer.clusterCount());
    EXPECT_NE("", assertionText([&] { clusterer.getClusterLabel(5); }));

    auto* source = new FixedRows();
    source->addRef();
    struct Buffered : ABufferedClusterInfoGetter {
        using ABufferedClusterInfoGetter::ABufferedClusterInfoGetter;
        void getInfo(long index, long& group, long& row) override { group = 7, row = index; }
    };
    {
        Buffered buffered(source);
        EXPECT_EQ(3, buffered.getCount());
        EXPECT_EQ(7, buffered.getClusterId(2));
        EXPECT_EQ(2, buffered.getLineIndex(2));
        EXPECT_EQ(2, source->refCount()) << "the source is held";
    }
    EXPECT_EQ(1, source->refCount());
    source->release();
    EXPECT_EQ(0, Buffered(nullptr).getCount());
}
