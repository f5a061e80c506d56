// The article's pictures by name. A name that begins with the prefix of a
// registered source is the number of a record of that source's table (as
// StandardBitmapSupplier reads it): "M12" is record 12 of the source under
// "M". Any other name is a file path; a relative one is taken from the
// folder given at construction (empty: the current folder, the data root
// while the reader runs), so "images/i00003.bmp" is a file beside the bases.
//
// Shared (ARefObj). The bases are not owned and must outlive the supplier;
// a null base is an assertion ("sfeeders"). A name that reads no picture
// (a missing record or file) answers a bitmap marked missing, never an
// error: an article with a broken picture still shows. The bitmaps answered
// are held for the article: a name asked again (by the next layout, the
// paint, an export) answers the same bitmap, whose picture is decoded once.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "app/lists/StandardBitmapSupplier.h"
#include "base/object/AString.h"

class ASVDocBitmapSupplier : public ABitmapSupplier {
public:
    explicit ASVDocBitmapSupplier(const char* folder = "");
    ~ASVDocBitmapSupplier() override;
    ASVDocBitmapSupplier(const ASVDocBitmapSupplier&) = delete;
    ASVDocBitmapSupplier& operator=(const ASVDocBitmapSupplier&) = delete;

    // Names "prefix<n>" read record n of `table` of `base`; field is the
    // record's field the picture lies in, recorded with the source (the
    // reader's picture tables hold one field a record). A later source with
    // the same prefix replaces the earlier one.
    void addSource(const char* prefix, ASearchBase* base, int16_t table, int16_t field);
    long sourceCount() const { return static_cast<long>(sources_.size()); }

    ABitmapRef* bitmapNamed(const AString& name) override;
    // The article the next names belong to: another one than before drops
    // the bitmaps held for the last.
    void startArticle(long docNo);
    // The bitmaps held for the article, and those of them whose picture was decoded.
    long heldCount() const { return static_cast<long>(held_.size()); }
    long decodedCount() const;

private:
    struct Source {
        std::string prefix;
        int16_t field;
        std::unique_ptr<StandardBitmapSupplier, void (*)(StandardBitmapSupplier*)> records;
    };
    ABitmapRef* read(const char* name);
    void dropHeld();

    std::string folder_;
    std::vector<Source> sources_;
    std::map<std::string, ABitmapRef*> held_;  // by name, one reference each
    long docNo_ = -1;
};
