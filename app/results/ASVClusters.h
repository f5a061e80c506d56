// The application's grouping of result rows: the group headings
// (ASVLineClusterer), the groups of a document (ASVClusterIDProvider), and
// the (group, row) pairs of a list (ASVClusterInfoGetter for the documents
// of a result list, ASVClusterNetGetter for the rows of an online search).
//
// A pair of ASVClusterInfoGetter is kept as one key: group << 24 | row,
// compared unsigned, so groups 0..255 sort in order and a group's rows follow
// one another. A group is read back as (key >> 24) & 0xFF. A row of 2^24 or
// more has no key: the load refuses it with an ALocalError ("results", which
// the caller reports) rather than fold it into another group; a group outside
// 0..255 is skipped. Other faults of use are assertions ("results").
//
// A document's group list is the text of its record in table 1 of the search
// base GLB: group numbers separated by commas. The groups are the themes of
// the first two levels of the theme tree (table 3 of GLB), numbered in tree
// order from 0; ThemeGroupDefinition names them.
//
// Shared (ARefObj). Every class holds one reference on what it reads from;
// the provider's base is not owned. Errors of the base pass to the caller.
#pragma once

#include <cstdint>
#include <vector>

#include "app/lines/ALineClusterer.h"

class ALo;
class ASearchBase;
class ASVResultLineGetter;

// The cluster definition ("group TAB label" lines) of a theme tree: one line
// a theme, its depth in leading TABs, then its label, then "#" and its list
// when it has one. Groups past 255 are left out.
AString ThemeGroupDefinition(const char* themeTree);

class ASVLineClusterer : public ALineClusterer {
public:
    using ALineClusterer::ALineClusterer;
    // The heading: a style prefix and marker, then the base's label.
    AString getClusterLabel(long group) override;
};

class AClusterIDProvider : public ARefObj {
public:
    // The group list of record id ("" when it has none).
    virtual AString getRecordText(long id) = 0;
};

class ASVClusterIDProvider : public AClusterIDProvider {
public:
    // A null base is an assertion ("results").
    explicit ASVClusterIDProvider(ASearchBase* glb);
    // An id outside table 1 has no groups.
    AString getRecordText(long id) override;

private:
    ASearchBase* base_;  // not owned
};

class ASVClusterInfoGetter : public AClusterInfoGetter {
public:
    // Rows: the list's documents in its order.
    ASVClusterInfoGetter(ALo* lo, AClusterIDProvider* provider);
    // Rows: the getter's display lines (through its line map).
    ASVClusterInfoGetter(ASVResultLineGetter* getter, AClusterIDProvider* provider);
    ~ASVClusterInfoGetter() override;

    long getCount() override { return static_cast<long>(keys_.size()); }
    void getInfo(long index, long& group, long& row) override;

    static const long kMaxRows = 1L << 24;

private:
    void collect(long row, long id, std::vector<uint32_t>& keys);
    void finish(std::vector<uint32_t>& keys);

    AClusterIDProvider* provider_;  // one reference held
    std::vector<uint32_t> keys_;    // ascending, without duplicates
};

// The group of an online row is the number in its first TAB-separated field
// (where the online rows keep their category); its row is its line.
class ASVClusterNetGetter : public ABufferedClusterInfoGetter {
public:
    using ABufferedClusterInfoGetter::ABufferedClusterInfoGetter;
    void getInfo(long index, long& group, long& row) override;
};
