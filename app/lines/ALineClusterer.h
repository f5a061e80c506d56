// Grouped (tree) lists: the labels of the groups, and which group each row
// of a list belongs to.
//
// ALineClusterer reads a cluster definition, one group a line:
//   group (decimal) TAB label [TAB further fields] LF
// Lines without a TAB or with a group outside 0..255 are skipped; a later
// line for the same group replaces the earlier label. Asking the label of a
// group it does not define is an assertion ("cluster").
//
// AClusterInfoGetter is the interface of the membership getters: entry i
// tells one (group, row) pair; a getter may give them in group order or in
// row order, so a reader groups them itself. ABufferedClusterInfoGetter reads one pair
// per line of a source line getter (one reference held) that a subclass
// turns into a group.
#pragma once

#include <cstdint>
#include <map>
#include <string>

#include "base/object/ARefObj.h"
#include "base/object/AString.h"

class ALineGetter;

class ALineClusterer : public ARefObj {
public:
    explicit ALineClusterer(const char* definition);
    // The group's label; an undefined group is an assertion.
    virtual AString getClusterLabel(long group);
    bool hasCluster(long group) const { return labels_.count(group) != 0; }
    long clusterCount() const { return static_cast<long>(labels_.size()); }

private:
    std::map<long, std::string> labels_;
};

class AClusterInfoGetter : public ARefObj {
public:
    virtual long getCount() = 0;
    // Group and row of entry index; an index outside 0..count-1 is an assertion.
    virtual void getInfo(long index, long& group, long& row) = 0;
    long getClusterId(long index);
    long getLineIndex(long index);
};

class ABufferedClusterInfoGetter : public AClusterInfoGetter {
public:
    // A null source gives no entries.
    explicit ABufferedClusterInfoGetter(ALineGetter* source);
    ~ABufferedClusterInfoGetter() override;
    long getCount() override;
    ALineGetter* source() const { return source_; }

private:
    ALineGetter* source_;  // one reference held, or null
};
