// A command text that the application's animations and HTML pages send to
// their panes, decoded. Two forms:
//   version 9:   <x>:<kind word>[:...]?<argument>[:...]
//                kind 2 or 5: argument is <name>=<value>; kind 1: both take it
//   version 10:  sv10...?<kind word>=<value>[:<extra>]   (extra without spaces)
// Decoding never fails: a missing piece is an empty text, an unknown
// version-10 word leaves the kind at -1.
#pragma once

#include <cstdint>

#include "base/object/AString.h"

class AFSCommInfo {
public:
    explicit AFSCommInfo(const char* text);
    virtual ~AFSCommInfo() = default;

    virtual void read(const char* text);

    int16_t fVersion = 9;
    long fKind = -1;
    AString fName;
    AString fValue;
    AString fExtra;
};
