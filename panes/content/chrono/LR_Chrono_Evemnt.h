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

#include <string>

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
    // The document a row key "doc:year:index" names; -1 when its first field is not a number
    // (an event without an article has an empty one).
    static long EventDocument(const char* key);

private:
    // The event of a row key: in the chronology when it follows the list; else its article, in the
    // centre when a page follows the list, otherwise only when a document is shown.
    void openEvent(const std::string& key, bool follow);
    // A chronology state at the event's year with the event blinking (the chronology follows the list).
    void showInChronology(const std::string& key);
};
