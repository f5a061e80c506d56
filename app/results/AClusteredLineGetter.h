// The rows of a getter grouped under their groups: for each group that has
// rows, in ascending group number, a header row, then the group's rows in the
// getter's order. A row may stand in several groups; rows of no group come
// last under "Sans cat\xE9gorie", so none is lost.
//
// Header row (for a fragment parser that reads a target after '<' or '>'):
//   "<label>><group>"              flag 0
//   "<label> (<count>)><group>"    flag 1
// <label> is the clusterer's plain label of the group ("Autres" for a group
// it does not define); the ungrouped rows' header has an empty target.
// Member rows are the getter's rows as they are. Levels: 0 header, 1 member.
//
// Shared (ARefObj). Holds one reference on the getter, the clusterer and the
// cluster information; the groups are read at the first question and kept
// (the getter's rows must not change under it). A missing part is an
// assertion ("results").
#pragma once

#include <string>
#include <vector>

#include "app/lines/ALevelledLineGetter.h"

class AClusterInfoGetter;
class ALineClusterer;

class AClusteredLineGetter : public ALevelledLineGetter {
public:
    AClusteredLineGetter(ALineGetter* getter, ALineClusterer* clusterer, AClusterInfoGetter* info);
    ~AClusteredLineGetter() override;

    void setFlag(int16_t flag) { flag_ = flag; }
    int16_t getFlag() const { return flag_; }

    long getLineCount() override;
    AString getRawLine(long record, long line) override;
    // 0 for a header, 1 for a member row, -1 outside.
    int16_t getLineLevel(long row) override;
    // The getter's line of a member row, -1 for a header or outside.
    long memberLine(long row);
    // Groups that have rows.
    long groupCount();

private:
    struct Group {
        long id;
        bool ungrouped;  // the rows of no group
        std::vector<long> lines;
    };
    void build();
    // The group and the place in it (-1: its header) of a row; false outside.
    bool locate(long row, size_t* group, long* member);

    ALineGetter* getter_;        // one reference held
    ALineClusterer* clusterer_;  // one reference held
    AClusterInfoGetter* info_;   // one reference held
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
