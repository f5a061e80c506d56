// The left-dock pane of the ephemeris screen (screen mode 6): a banner over
// the list of the documents of the event the reader came from (its related
// documents, or its article alone). Layout "DOCKLEFTEPHEMERIDE" (pane 2016).
//
// Left part keys: 1182 the shown mask, 1183 the list text (occurrence-list
// form, the layout pane's text). The list belongs to the layout, not owned; a
// missing one fails the allocation check ("DockLeftEphemeridePane"), arranging
// without a client list is an assertion.
#pragma once

#include "app/lists/ALayoutPane.h"

class LREphemeride;

class DockLeftEphemeridePane : public ALayoutPane {
    SV_DECLARE_CLASS(DockLeftEphemeridePane)
public:
    enum : int16_t { kListId = 2030, kMaskKey = 1182, kTextKey = 1183 };

    DockLeftEphemeridePane();
    void readFrom(AMemoryStream& stream) override;
    void setUpItems() override;
    void detachItems() override;
    int16_t isPaneWanted() override;
    void updatePane() override;
    void arrangeClients() override;

    LREphemeride* getList() const { return resultList; }

private:
    LREphemeride* resultList = nullptr;  // not owned
};
