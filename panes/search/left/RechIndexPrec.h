// The keyword refinement list of the search result pane: a head row for the
// whole full-text result, a title row, then the index keywords the search
// found (rows of ASVIndexLineGetter). Choosing a row hands its result key to
// the search result pane, which shows the documents of that key.
//
// Selection keys 1002 and 1003 of the left part. Holds one reference on its
// line getter (ListPane's). Missing enclosing panes fail the allocation
// check ("RechIndexPrec"); keywords without the keyword base (data base 3)
// are an assertion.
#pragma once

#include "app/lists/ListPane.h"

class ALo;
class ASVIndexLineGetter;
class ASVLoSearchState;
class DockLeftRechSIPane;

class RechIndexPrec : public ListPane {
    SV_DECLARE_CLASS(RechIndexPrec)
public:
    enum : int16_t { kKeywordBase = 3 };

    RechIndexPrec();
    void readFrom(AMemoryStream& stream) override;
    void attachItems() override;
    void setUpItems() override;
    void detachItems() override;
    void updatePane() override;
    void openClickedLine(ARendererView* view) override;
    // The label of row n (its text before '#', without backslashes).
    AString getLineLabel(long n);
    void buildList(ARendererView* view, ASVLoSearchState* search);
    // The head line for a full-text result of n documents (n < 0: no result list).
    static AString headLine(long n);
    // The title line for k keywords.
    static AString keywordTitle(long k);

    // The keyword list a search state holds (a hook the tests replace).
    virtual ALo* keywordList(ASVLoSearchState* search);

private:
    ASVIndexLineGetter* indexGetter() const;

    DockLeftRechSIPane* searchPane = nullptr;  // not owned
};
