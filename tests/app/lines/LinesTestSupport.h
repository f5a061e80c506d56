// A generated installation for the line-getter tests: base "A" with one
// table of n records "titre i TAB i # i" and a words index where "chat" hits
// records 2, 7 and 31 (when they exist), with the request form "SEARCH".
#pragma once

#include <string>

#include "search/facade/ADataLocation.h"
#include "tests/base/procedural/TextTestSupport.h"
#include "tests/search/facade/FacadeTestSupport.h"

class ASearchBase;

class LinesBase {
public:
    explicit LinesBase(long records);
    ~LinesBase();
    // The table's search base (owned by this object).
    ASearchBase* open();

    TempFolder folder;
    FolderCleaner cleaner;
    ADataLocation location;
    long code = -1;
    std::string error;

private:
    ASearchBase* base = nullptr;
};
