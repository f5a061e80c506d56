// How the object layer names a file or a folder: one owned, normalised full
// path (a file-layer path handle), compared ignoring letter case.
//
// Failing file-layer calls in constructors, name, parent (with mustExist),
// setExtension and removeTree raise AFileSpecError ("bstream", line, code), a
// recoverable error: paths often come from outside. The disk operations
// answer codes instead: 105 source missing, 106 refused by the system, 2009
// empty spec, 2011 exists already (or is missing), and the file layer's codes.
#pragma once

#include "base/object/AString.h"
#include "base/procedural/AError.h"
#include "base/procedural/KyFile.h"

// A file-layer code raised by a file specification.
class AFileSpecError : public AThrowableError {
public:
    AFileSpecError(const char* file = nullptr, long line = 0, long code = 0) : AThrowableError(file, line), code_(code) {}
    const char* className() const override { return "AFileSpecError"; }
    void report(AOutStream& stream) const override;
    long code() const { return code_; }

private:
    long code_;
};

class AFileSpec {
public:
    AFileSpec();
    explicit AFileSpec(const KY_FileSpec& spec);
    AFileSpec(const AFileSpec& other);
    AFileSpec& operator=(const AFileSpec& other);
    // Made absolute and normalised.
    explicit AFileSpec(const char* path);
    // With create set, a missing path is made as a chain of folders; a path
    // that cannot be resolved leaves it empty without raising.
    AFileSpec(const char* path, bool create);
    AFileSpec(const AFileSpec& folder, const char* name);
    virtual ~AFileSpec();

    const KY_FileSpec& spec() const { return spec_; }
    bool empty() const { return !spec_.text; }
    AString path() const;
    // The last component; "" for a path without separator or a server root.
    AString name() const;
    // The folder holding this one. A spec without one (a drive or server root,
    // an empty spec) raises with mustExist, else gives fallback or an empty spec.
    AFileSpec parent(bool mustExist, const AFileSpec* fallback = nullptr) const;
    bool exists() const;
    bool isDirectory() const;
    // The outermost ancestor; fallback (or empty) when it does not exist.
    AFileSpec root(const AFileSpec* fallback = nullptr) const;
    bool operator==(const AFileSpec& other) const;
    bool operator!=(const AFileSpec& other) const { return !(*this == other); }

    // A leading dot is ignored; keepOld appends to the whole name.
    void setExtension(const char* extension, bool keepOld);
    int createDirectory() const;
    int removeDirectory() const;
    // Removes the file or folder, with recursive set after every entry inside
    // it (hidden ".name" ones too). A link goes itself, never followed; a root
    // is never emptied; what cannot be removed raises (106 for a folder or link).
    void removeTree(bool recursive) const;
    // Copies the whole file over target through the process-wide file system.
    int copyTo(const AFileSpec& target) const;

protected:
    // Raises AFileSpecError("bstream", line, code) when code is not 0.
    static void check(int code, long line);

    KY_FileSpec spec_;  // owned
};
