// An open request of the object layer: a path with its kind, cache and
// scrambling options, opened by streams (AFileStream) as often as needed.
//
// Failing file-layer calls raise AFileSpecError("bstream", line, code), a
// recoverable error: the paths and files come from outside.
#pragma once

#include "base/object/AFileSpec.h"
#include "base/procedural/KyFile.h"

#include <cstdint>

// How a request caches its file: cached flag, block size (bytes), block count.
struct AFileOptions {
    int16_t cached;
    long blockSize;
    int blockCount;
};
extern const AFileOptions kPlainFileOptions;   // {0, 0, 0}
extern const AFileOptions kCachedFileOptions;  // {1, 2048, 3}

class AFile {
public:
    AFile();
    // A request for spec's path in fs (kind 0..3: release class of its handle).
    AFile(KY_FileSys* fs, const AFileSpec& spec, int kind, const AFileOptions& options, bool scrambled);
    // The same on the process-wide file system.
    AFile(const AFileSpec& spec, int kind, const AFileOptions& options, bool scrambled);
    explicit AFile(const KY_OpenSpec& spec);
    AFile(const AFile& other);
    AFile& operator=(const AFile& other);
    virtual ~AFile();

    // The last error of the request's file system.
    long lastError() const;
    AFileSpec getSpec() const;
    const KY_OpenSpec& openSpec() const { return spec_; }

protected:
    KY_OpenSpec spec_;  // owned, its path owned
};

// Raises AFileSpecError("bstream", line, code) when code is not 0.
void CheckFileCode(long code, long line);
