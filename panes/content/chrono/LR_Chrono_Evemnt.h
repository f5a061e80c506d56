// The event list of the chronology's left dock: the events of the key its
// page holds (a LNK record of the chronology base, read as an occurrence
// list of HDG records), one row each (ASVChronoLineGetter). Refreshed, it
// may open the first or the remembered row's article; a click on a row
// opens that row's article.
//
// Holds one reference on its occurrence list. The selection pair goes into
// the left part under 1082 and 1083. A LNK record that is not an occurrence
// list gives an empty list.
#pragma once

#include "app/lists/LRPane.h"

class LR_Chrono_Evemnt : public LRPane {
    SV_DECLARE_CLASS(LR_Chrono_Evemnt)
public:
    LR_Chrono_Evemnt();
    ~LR_Chrono_Evemnt() override;

    void readFrom(AMemoryStream& stream) override;
    void setUpItems() override;
    void updatePane() override;
    void loadList(const char* key) override;
    // 1 when the key's record is an occurrence list (the pane's list replaced), else 0.
    int16_t runQuery(const char* key) override;
    // A row (hit kind 3) chosen: its article.
    void selectionChanged(ARenderer* renderer) override;
    void openLine(ARenderer* renderer) { selectionChanged(renderer); }

    // The document of line n (its key's number), -1 without one.
    long documentOf(long line);

private:
    // In the centre when the chronology or a page follows the list, else only when a document is shown.
    void openDocument(long docNo, bool follow);
    // A chronology state at the event's year with the event blinking (the chronology follows the list).
    void showInChronology(long docNo);
};
