// A generated installation for the line-getter tests: base "A" with one
// table of n records "titre i TAB i # i" and a words index where "chat" hits
// records 2, 7 and 31 (when they exist), with the request form "SEARCH".
#pragma once

#include <string>
#include <vector>

#include "search/facade/ADataLocation.h"
#include "tests/base/procedural/TextTestSupport.h"
#include "tests/search/facade/FacadeTestSupport.h"

class ASearchBase;

class LinesBase {
public:
    explicit LinesBase(long records);
    // The table holds the given record texts instead.
    explicit LinesBase(const std::vector<std::string>& rows);
    ~LinesBase();
    // The table's search base (owned by this object).
    ASearchBase* open();

    TempFolder folder;
    FolderCleaner cleaner;
    ADataLocation location;
    long code = -1;
    std::string error;

private:
    void make(const std::vector<std::string>& rows, long records);
    ASearchBase* base = nullptr;
};
