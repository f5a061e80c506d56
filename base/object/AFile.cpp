// Open requests of the object layer.
#include "base/object/AFile.h"

const AFileOptions kPlainFileOptions = {0, 0, 0};
const AFileOptions kCachedFileOptions = {1, 2048, 3};

void CheckFileCode(long code, long line) {
    if (code)
        ThrowTyped(AFileSpecError("bstream", line, code));
}

AFile::AFile() : spec_{} {}

AFile::AFile(KY_FileSys* fs, const AFileSpec& spec, int kind, const AFileOptions& options, bool scrambled) : spec_{} {
    CheckFileCode(
        KY_MakeOpenSpec(fs, &spec.spec(), kind, options.cached != 0, options.blockSize, options.blockCount, &spec_),
        78);
    CheckFileCode(KY_SetOpenSpecScrambled(scrambled, &spec_), 79);
}

AFile::AFile(const AFileSpec& spec, int kind, const AFileOptions& options, bool scrambled)
    : AFile(KY_GetGlobalFileSys(), spec, kind, options, scrambled) {}

AFile::AFile(const KY_OpenSpec& spec) : spec_{} {
    CheckFileCode(KY_CopyOpenSpec(&spec, &spec_), 92);
}

AFile::AFile(const AFile& other) : AFile(other.spec_) {}

AFile& AFile::operator=(const AFile& other) {
    if (this != &other) {
        KY_FreeOpenSpec(&spec_);
        CheckFileCode(KY_CopyOpenSpec(&other.spec_, &spec_), 104);
    }
    return *this;
}

AFile::~AFile() {
    KY_FreeOpenSpec(&spec_);
}

long AFile::lastError() const {
    if (!spec_.owner)
        ThrowAssert("bstream", 115);
    return spec_.owner->lastError;
}

AFileSpec AFile::getSpec() const {
    return spec_.path.text ? AFileSpec(spec_.path) : AFileSpec();
}
