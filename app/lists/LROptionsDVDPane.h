// A result list of the disc with all three choices of its options panel:
// display (buttons 2501-2503, command 2500), sort (2511-2513: alphabetical
// order, relevance, theme; command 2510) and filter (2521-2527: all
// articles, text documents, all media, figures and tables, maps, videos,
// musical extracts; command 2120). Each filter's list, the result crossed
// with the data manager's category list, is made once per loaded result, so
// pointing at a filter button previews its count. A choice may move another
// (display -> filter, filter -> display, display or filter -> sort) before
// the rows are rebuilt.
//
// Holds one reference on its sorter and on each filter list. The thirteen
// buttons are optional (a missing one is skipped); one of another class than
// AIconButton fails the allocation check ("layout"). An empty filter list
// gives an empty list with its count, and no sorter.
#pragma once

#include "app/lists/LROptionsAfficherDVDPane.h"

class AMemLongLineSorter;

class LROptionsDVDPane : public LROptionsAfficherDVDPane {
    SV_DECLARE_CLASS(LROptionsDVDPane)
public:
    enum : int16_t { kSortCommand = 2510, kFirstSortButton = 2511, kFilterCommand = 2120, kFirstFilterButton = 2521 };
    enum : int16_t { kFilterNames = 1208, kSortNames = 1209, kFilterCount = 7 };

    void readFrom(AMemoryStream& stream) override;
    void setUpItems() override;
    void detachItems() override;
    void bindActions() override;
    ACommand* doCommand(int16_t id, long argument) override;
    int16_t commandStatus(int16_t id, long argument) override;
    // A filter button that the pointer enters shows its count in the second
    // style; leaving it shows the chosen filter's count again.
    void linkChanged(AComponent* source, const AKindSet& kinds) override;

    void loadList(const char* key) override;
    // None: list, relevance, all articles. A state: keys 1300 to 1303.
    void takeLeftState(ALeftState* left) override;
    // 0 only for list, relevance, all articles.
    int16_t hasOptionChoice() override { return !(display == 0 && filter == 0 && sort == 1); }
    void refreshChoices(int16_t reason) override;
    AString optionLabel() override;
    void buildLineGetter() override;
    void buildTreeModel(ARenderer* renderer, ALo* list) override;

    // The rows of filter k, or null (no reference taken).
    ALo* filterList(int16_t k) const { return k >= 0 && k < kFilterCount ? filterLists[k] : nullptr; }
    long filterCount(int16_t k) const;
    AMemLongLineSorter* getSorter() const { return sorter; }

    int16_t sort = 1;
    int16_t filter = 0;
    int16_t sortAvailable[3] = {0, 0, 0};
    int16_t filterAvailable[kFilterCount] = {};
    int16_t filterListsReady = 0;

private:
    void computeFilterLists();
    void releaseFilterLists();
    // 2 for an unavailable choice, 5 for the current one, else 1.
    static int16_t choiceStatus(int16_t p, int16_t choices, const int16_t* availability, int16_t current);

    AMemLongLineSorter* sorter = nullptr;  // one reference held, or null
    ALo* filterLists[kFilterCount] = {};   // one reference each, or null
};
