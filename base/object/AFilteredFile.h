// An open request with what streams opened from it share: a character
// filter, a delete-on-close switch, a pair of values for its users and
// possibly a file already open that streams use instead of opening their own.
#pragma once

#include "base/object/AFile.h"

class AFileStream;

class AFilteredFile : public AFile {
public:
    AFilteredFile();
    // filter: the handle streams install on their file (not owned: the
    // caller's filter object keeps it alive); null installs nothing.
    AFilteredFile(const AFile& file, long user1, long user2, short deleteOnClose, KY_Filter* filter);
    // shared must be given (an assertion otherwise); one reference is taken.
    AFilteredFile(const KY_OpenSpec& spec, long user1, long user2, short deleteOnClose, KY_Filter* filter,
                  KY_File* shared);
    // A cached kind-1 request for the bound stream's path, sharing its open file.
    AFilteredFile(const AFileStream& stream, long user1, long user2, short deleteOnClose, KY_Filter* filter);
    AFilteredFile(const AFilteredFile& other);
    AFilteredFile& operator=(const AFilteredFile& other);
    ~AFilteredFile() override;

    long user1() const { return user1_; }
    long user2() const { return user2_; }
    short deleteOnClose() const { return deleteOnClose_; }
    KY_Filter* filter() const { return filter_; }
    KY_File* sharedFile() const { return shared_; }

private:
    void share(KY_File* file);

    long user1_;
    long user2_;
    short deleteOnClose_;
    KY_Filter* filter_;  // not owned
    KY_File* shared_;    // one reference held, or null
};
