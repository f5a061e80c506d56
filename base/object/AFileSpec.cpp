// File specifications: construction, queries and the few disk operations.
#include "base/object/AFileSpec.h"

#include "base/object/ADirectoryLister.h"
#include "base/procedural/AOutStream.h"
#include "base/procedural/BAlloc.h"
#include "base/procedural/KyPath.h"
#include "base/procedural/Trace.h"

#include <windows.h>

#include <cstring>

namespace {

const int kSourceMissing = 105;

bool SamePath(const KY_FileSpec& a, const KY_FileSpec& b) {
    return a.text && b.text && lstrcmpiA(a.text, b.text) == 0;
}

// A link or junction goes itself, never what it leads to. Wine 8 follows a
// folder link even when asked for the link (it removed an empty folder behind
// one and kept the link), so only a handle showing the link itself lets it go.
int RemoveLink(const char* path, DWORD attributes) {
    KY_FileIdentity link;
    if (!KY_GetFileIdentity(path, true, &link) || !(link.attributes & FILE_ATTRIBUTE_REPARSE_POINT))
        return kPathErrFolder;
    BOOL removed = (attributes & FILE_ATTRIBUTE_DIRECTORY) ? RemoveDirectoryA(path) : DeleteFileA(path);
    return removed ? 0 : kPathErrFolder;
}

}  // namespace

void AFileSpecError::report(AOutStream& stream) const {
    AThrowableError::report(stream);
    if (stream.writesToTrace())
        TraceErrorCode(0, code_);
    else
        stream.writeString("#[File Error : ").writeLong(code_).writeString("]\n");
}

void AFileSpec::check(int code, long line) {
    if (code)
        ThrowTyped(AFileSpecError("bstream", line, code));
}

AFileSpec::AFileSpec() {
    check(KY_NewFileSpec(&spec_), 84);
}

AFileSpec::AFileSpec(const KY_FileSpec& spec) : spec_{nullptr} {
    check(KY_CopyFileSpec(&spec, &spec_), 90);
}

AFileSpec::AFileSpec(const AFileSpec& other) : spec_{nullptr} {
    check(KY_CopyFileSpec(&other.spec_, &spec_), 121);
}

AFileSpec& AFileSpec::operator=(const AFileSpec& other) {
    if (this != &other) {
        KY_FreeFileSpec(&spec_);
        check(KY_CopyFileSpec(&other.spec_, &spec_), 157);
    }
    return *this;
}

AFileSpec::AFileSpec(const char* path) : spec_{nullptr} {
    check(KY_FullPath(path, &spec_), 99);
}

AFileSpec::AFileSpec(const char* path, bool create) : spec_{nullptr} {
    if (KY_FullPath(path, &spec_) != 0)
        return;
    if (create && !KY_FileExists(&spec_)) {
        KY_FileSpec folder = {nullptr};
        int code = KY_NewDirSpec(spec_.text, &folder);
        KY_FreeFileSpec(&spec_);
        spec_ = folder;
        // No destructor runs for a constructor that raises.
        if (code)
            KY_FreeFileSpec(&spec_);
        check(code, 113);
    }
}

AFileSpec::AFileSpec(const AFileSpec& folder, const char* name) : spec_{nullptr} {
    check(KY_MakePath(&folder.spec_, name, &spec_), 127);
}

AFileSpec::~AFileSpec() {
    KY_FreeFileSpec(&spec_);
}

AString AFileSpec::path() const {
    return AString(spec_.text ? spec_.text : "");
}

AString AFileSpec::name() const {
    size_t size = spec_.text ? std::strlen(spec_.text) + 1 : 1;
    char* buffer = CheckAlloc(static_cast<char*>(KY_Malloc(size)), "bstream", 195);
    int code = KY_GetFileName(&spec_, buffer, size);
    AString result(code ? "" : buffer);
    KY_Free(buffer);
    check(code, 195);
    return result;
}

// A drive or server root is its own parent in the file layer; here it has none.
AFileSpec AFileSpec::parent(bool mustExist, const AFileSpec* fallback) const {
    AFileSpec result;
    int code = KY_GetParentDir(&spec_, &result.spec_);
    if (!code && SamePath(result.spec_, spec_))
        code = kFileErrPath;
    if (!code)
        return result;
    if (mustExist)
        check(code, 177);
    return fallback ? *fallback : AFileSpec();
}

bool AFileSpec::exists() const {
    return spec_.text && KY_FileExists(&spec_);
}

bool AFileSpec::isDirectory() const {
    if (!exists())
        return false;
    DWORD attributes = GetFileAttributesA(spec_.text);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

AFileSpec AFileSpec::root(const AFileSpec* fallback) const {
    if (!exists())
        return fallback ? *fallback : AFileSpec();
    AFileSpec current(*this);
    for (;;) {
        AFileSpec up = current.parent(false);
        if (up.empty())
            return current;
        current = up;
    }
}

bool AFileSpec::operator==(const AFileSpec& other) const {
    return this == &other || (empty() && other.empty()) || SamePath(spec_, other.spec_);
}

void AFileSpec::setExtension(const char* extension, bool keepOld) {
    check(KY_SetPathExtension(extension, &spec_, keepOld), 202);
}

int AFileSpec::createDirectory() const {
    if (empty())
        return kFileErrPath;
    if (exists())
        return kFileErrExists;
    return CreateDirectoryA(spec_.text, nullptr) ? 0 : kPathErrFolder;
}

int AFileSpec::removeDirectory() const {
    if (empty())
        return kFileErrPath;
    if (!exists())
        return kFileErrExists;
    return RemoveDirectoryA(spec_.text) ? 0 : kPathErrFolder;
}

void AFileSpec::removeTree(bool recursive) const {
    if (empty())
        return;
    DWORD attributes = GetFileAttributesA(spec_.text);
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return;
    if (attributes & FILE_ATTRIBUTE_REPARSE_POINT) {
        check(RemoveLink(spec_.text, attributes), 227);
        return;
    }
    if (!(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        check(KY_DeleteFile(&spec_), 229);
        return;
    }
    if (parent(false).empty())
        return;
    if (recursive) {
        ADirectoryLister lister(*this, ADirectoryLister::kAllNames);
        for (AFileSpec entry = lister.first(); !entry.empty(); entry = lister.next())
            entry.removeTree(true);
    }
    check(RemoveDirectoryA(spec_.text) ? 0 : kPathErrFolder, 226);
}

int AFileSpec::copyTo(const AFileSpec& target) const {
    if (!exists())
        return kSourceMissing;
    KY_FileSys* fs = KY_GetGlobalFileSys();
    KY_OpenSpec from;
    KY_OpenSpec to;
    KY_ClearOpenSpec(&from);
    KY_ClearOpenSpec(&to);
    int code = KY_MakeOpenSpec(fs, &spec_, 3, 0, 0, 0, &from);
    if (!code)
        code = KY_MakeOpenSpec(fs, &target.spec_, 3, 0, 0, 0, &to);
    if (!code)
        code = KY_CopyFileRange(&to, &from, 0, 0, 0);
    KY_FreeOpenSpec(&from);
    KY_FreeOpenSpec(&to);
    return code;
}
