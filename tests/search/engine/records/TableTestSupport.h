// A mounted base of two supports holding one table "DB", its part files written
// by the table writer into a test folder: the accessor and fetch tests' base.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "search/engine/descriptor/MkDoom.h"

class TempFolder;

// One part's records (catalogue entries) stored with a codec mode (0 plain)
// behind adjust header bytes; cor, when not empty, is its correspondence table.
struct PartSource {
    std::vector<std::string> records;
    int mode;
    int adjust;
    std::vector<int32_t> cor;
};

// The specs and files go with the object. Supports start without bounds.
struct TwoPartBase {
    TwoPartBase(TempFolder& folder, const PartSource& part0, const PartSource& part1);
    ~TwoPartBase();
    TwoPartBase(const TwoPartBase&) = delete;
    TwoPartBase& operator=(const TwoPartBase&) = delete;

    KyMountedBase base;
    KyMountedData parts[2];
    KyMountedSupport supports[2];
    std::vector<std::string> cleanup;
};
