// The reference-counted base of the result lists: a data source with a file
// and an open mode, opened and closed at most once through two hooks.
//
// Created with no reference (ARefObj); the hooks raise what their class raises.
#pragma once

#include "base/object/AFile.h"
#include "base/object/ARefObj.h"
#include "base/object/AString.h"

class ADataFile : public ARefObj {
public:
    ADataFile() : openFlag(0) {}
    ~ADataFile() override;

    // Calls doOpen unless already open.
    void open();
    // Calls doClose when open.
    void close();
    bool isOpen() const { return openFlag > 0; }

protected:
    virtual void doOpen() {}
    virtual void doClose() {}

    AFile file;
    AString mode;
    int16_t openFlag;
};
