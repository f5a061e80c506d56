// A string list of the program's resources (type 258), open for the object's
// whole life.
//
// Resource, little-endian:
//   count i16 | offset[0..count-1] i16 | NUL-terminated strings
// Each offset counts from the start of the resource. An index outside
// [0, count) is an assertion ("fresourc" 605); an offset or a string that
// leaves the resource raises the memory stream's error.
#pragma once

#include "framework/resources/AResource.h"
#include "framework/resources/AResourceStream.h"

class AStringListResource : public AResource {
public:
    explicit AStringListResource(const AResourceRef& ref);
    explicit AStringListResource(uint16_t number);
    ~AStringListResource() override;

    short count();
    void get(AString& out, short index);
    AString get(short index);

private:
    AResourceStream* stream_;  // owned; holds the resource open
    short count_;              // -1 until read
};

enum : uint16_t {
    kStringListType = 258,
};
