// An open request with what streams opened from it share: a character
// filter, a delete-on-close switch, a pair of values for its users and
// possibly a file already open that streams use instead of opening their own.
#pragma once

#include "base/object/AFile.h"
#include "base/object/AFilter.h"

class AFileStream;

class AFilteredFile : public AFile {
public:
    AFilteredFile();
    // filter: shared (one reference held); streams install it on their file,
    // and the empty filter removes the translation of a shared file.
    AFilteredFile(const AFile& file, long user1, long user2, short deleteOnClose, const AFilter& filter);
    // shared must be given (an assertion otherwise); one reference is taken.
    AFilteredFile(const KY_OpenSpec& spec, long user1, long user2, short deleteOnClose, const AFilter& filter,
                  KY_File* shared);
    // A cached kind-1 request for the bound stream's path, sharing its open file.
    AFilteredFile(const AFileStream& stream, long user1, long user2, short deleteOnClose, const AFilter& filter);
    AFilteredFile(const AFilteredFile& other);
    AFilteredFile& operator=(const AFilteredFile& other);
    ~AFilteredFile() override;

    long user1() const { return user1_; }
    long user2() const { return user2_; }
    short deleteOnClose() const { return deleteOnClose_; }
    const AFilter& filter() const { return filter_; }
    KY_File* sharedFile() const { return shared_; }

private:
    void share(KY_File* file);

    long user1_;
    long user2_;
    short deleteOnClose_;
    AFilter filter_;
    KY_File* shared_;  // one reference held, or null
};
