// The file specifications of well-known folders and new temporary files: each
// resolves its path at construction and raises AFileSpecError when it cannot.
#pragma once

#include "base/object/AFileSpec.h"

class ATempFolderSpec : public AFileSpec {
public:
    ATempFolderSpec();
};

// A new, unique, empty file (the caller deletes it).
class ATempFileSpec : public AFileSpec {
public:
    // prefix: at most two characters, "KY" when null.
    ATempFileSpec(const char* prefix, const AFileSpec& folder);
    ATempFileSpec();
};

class ACurrentFolderSpec : public AFileSpec {
public:
    ACurrentFolderSpec();
};

// The temporary folder, created when missing.
class AAppTempFolderSpec : public AFileSpec {
public:
    AAppTempFolderSpec();
};

// The current folder, where external programs are looked for.
class AProgramFolderSpec : public AFileSpec {
public:
    AProgramFolderSpec();
};

// The current folder at start-up, where the descriptor files are looked for.
class AStartFolderSpec : public AFileSpec {
public:
    AStartFolderSpec();
};

// Special folder 28 joined with name, created when missing; the folder
// itself when the subfolder cannot be made.
class ALocalAppDataSpec : public AFileSpec {
public:
    explicit ALocalAppDataSpec(const char* name);
};

// The Windows folder joined with name, with the same rule.
class AWindowsFolderSpec : public AFileSpec {
public:
    explicit AWindowsFolderSpec(const char* name);
};

// Special folder 35 joined with name, with the same rule.
class ACommonAppDataSpec : public AFileSpec {
public:
    explicit ACommonAppDataSpec(const char* name);
};

// The user's documents folder ("Personal" under the user's "Shell Folders").
class APersonalFolderSpec : public AFileSpec {
public:
    APersonalFolderSpec();
};
