// Pictures named by record: the name is the decimal number of a record of
// one table of a data base, and the picture is that record's data, read
// again at every request (nothing is kept between names).
// ASVVigBitmapSupplier is the result lists' thumbnail supplier (data base 1,
// table 9): the same supplier under its own class.
//
// Shared (ARefObj). The base is not owned and must outlive the supplier; a
// null base is an assertion ("sfeeders"). The bitmap answered is held until
// the next request; a caller that keeps it adds a reference. Errors of the
// base while reading reach the caller.
#pragma once

#include <cstdint>

#include "docengine/styles/ABitmapSupplier.h"

class ASearchBase;

class StandardBitmapSupplier : public ABitmapSupplier {
public:
    StandardBitmapSupplier(ASearchBase* base, int16_t table);
    ~StandardBitmapSupplier() override;
    StandardBitmapSupplier(const StandardBitmapSupplier&) = delete;
    StandardBitmapSupplier& operator=(const StandardBitmapSupplier&) = delete;

    // The picture of the record the name's number gives; a record that holds
    // no picture of a known format gives a bitmap without a picture.
    ABitmapRef* bitmapNamed(const AString& name) override;

    // Leading blanks, an optional sign, then digits up to the first other
    // character; no digits gives 0.
    static long RecordOfName(const char* name);

private:
    ASearchBase* base_;             // not owned
    int16_t table_;
    ABitmapRef* last_ = nullptr;    // one reference held
};

class ASVVigBitmapSupplier : public StandardBitmapSupplier {
public:
    using StandardBitmapSupplier::StandardBitmapSupplier;
};

// The picture of one document, whatever name is asked for: the record of its
// information record's base (ASingleDocBitmapSupplier draws a media's caption
// page). Null without the application's data manager or a base for the document.
class ASingleDocBitmapSupplier : public ABitmapSupplier {
public:
    explicit ASingleDocBitmapSupplier(long docNo) : docNo_(docNo) {}
    ~ASingleDocBitmapSupplier() override;
    ASingleDocBitmapSupplier(const ASingleDocBitmapSupplier&) = delete;
    ASingleDocBitmapSupplier& operator=(const ASingleDocBitmapSupplier&) = delete;

    ABitmapRef* bitmapNamed(const AString& name) override;
    long docNo() const { return docNo_; }

private:
    long docNo_;
    ABitmapRef* last_ = nullptr;  // one reference held
};
