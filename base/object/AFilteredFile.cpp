// Open requests with a filter, a delete-on-close switch and a shared open file.
#include "base/object/AFilteredFile.h"

#include "base/object/AFileStream.h"

AFilteredFile::AFilteredFile() : user1_(0), user2_(0), deleteOnClose_(0), filter_(), shared_(nullptr) {}

AFilteredFile::AFilteredFile(const AFile& file, long user1, long user2, short deleteOnClose, const AFilter& filter)
    : AFile(file), user1_(user1), user2_(user2), deleteOnClose_(deleteOnClose), filter_(filter), shared_(nullptr) {}

AFilteredFile::AFilteredFile(const KY_OpenSpec& spec, long user1, long user2, short deleteOnClose,
                             const AFilter& filter, KY_File* shared)
    : AFile(spec), user1_(user1), user2_(user2), deleteOnClose_(deleteOnClose), filter_(filter), shared_(nullptr) {
    if (!shared)
        ThrowAssert("bstream", 1007);
    share(shared);
}

AFilteredFile::AFilteredFile(const AFileStream& stream, long user1, long user2, short deleteOnClose,
                             const AFilter& filter)
    : user1_(user1), user2_(user2), deleteOnClose_(deleteOnClose), filter_(filter), shared_(nullptr) {
    KY_File* file = stream.file();
    if (!file)
        ThrowAssert("bstream", 1019);
    CheckFileCode(KY_MakeOpenSpec(KY_GetGlobalFileSys(), &file->spec.path, 1, kCachedFileOptions.cached,
                                  kCachedFileOptions.blockSize, kCachedFileOptions.blockCount, &spec_),
                  1020);
    share(file);
}

AFilteredFile::AFilteredFile(const AFilteredFile& other)
    : AFile(other),
      user1_(other.user1_),
      user2_(other.user2_),
      deleteOnClose_(other.deleteOnClose_),
      filter_(other.filter_),
      shared_(nullptr) {
    share(other.shared_);
}

AFilteredFile& AFilteredFile::operator=(const AFilteredFile& other) {
    if (this == &other)
        return *this;
    AFile::operator=(other);
    user1_ = other.user1_;
    user2_ = other.user2_;
    deleteOnClose_ = other.deleteOnClose_;
    filter_ = other.filter_;
    KY_File* old = shared_;
    shared_ = nullptr;
    share(other.shared_);
    if (old)
        KY_FClose(old);
    return *this;
}

AFilteredFile::~AFilteredFile() {
    if (shared_)
        KY_FClose(shared_);
}

void AFilteredFile::share(KY_File* file) {
    if (file)
        KY_FileAddRef(file);
    shared_ = file;
}
