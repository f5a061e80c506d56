// The rows of a getter grouped under their categories: for each category
// that has rows, in the clusterer's order (unknown categories after, in the
// order met), a header row, then the category's rows in the getter's order.
//
// Header row (for a fragment parser that reads a target after '<' or '>'):
//   "<label>><id>"              flag 0
//   "<label> (<count>)><id>"    flag 1
// Member rows are the getter's rows as they are. Levels: 0 header, 1 member.
//
// Shared (ARefObj). Holds one reference on the getter, the clusterer and the
// cluster information; the groups are read at the first question and kept
// (the getter's rows must not change under it). A missing part is an
// assertion ("results").
#pragma once

#include <string>
#include <vector>

#include "app/lines/SortableLineGetter.h"

class AClusterInfo;
class ASVLineClusterer;

class AClusteredLineGetter : public SortableLineGetter {
public:
    AClusteredLineGetter(ALineGetter* getter, ASVLineClusterer* clusterer, AClusterInfo* info);
    ~AClusteredLineGetter() override;

    void setFlag(int16_t flag) { flag_ = flag; }
    int16_t getFlag() const { return flag_; }

    long getLineCount() override;
    AString getRawLine(long record, long line) override;
    // 0 for a header, 1 for a member row, -1 outside.
    int16_t getLineLevel(long row);
    // The getter's line of a member row, -1 for a header or outside.
    long memberLine(long row);
    // Categories that have rows.
    long groupCount();

private:
    struct Group {
        std::string id;
        std::vector<long> lines;
    };
    void build();
    // The group and the place in it (-1: its header) of a row; false outside.
    bool locate(long row, size_t* group, long* member);

    ALineGetter* getter_;          // one reference held
    ASVLineClusterer* clusterer_;  // one reference held
    AClusterInfo* info_;           // one reference held
    int16_t flag_ = 0;
    bool built_ = false;
    std::vector<Group> groups_;
    std::vector<long> groupStarts_;  // the header row of each group
    long rowCount_ = 0;
};

class ASVClusteredLineGetter : public AClusteredLineGetter {
public:
    using AClusteredLineGetter::AClusteredLineGetter;
};
