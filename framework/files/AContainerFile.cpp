// The container file's opening, replacing and scrambling rules.
#include "framework/files/AContainerFile.h"

#include <windows.h>

#include "base/object/AFile.h"
#include "base/object/AFileStream.h"
#include "base/procedural/AError.h"
#include "framework/app/AApp.h"

namespace {

const AFileOptions kReadOptions = {1, 16384, 1};
const AFileOptions kWriteOptions = {1, 30720, 1};
const int kFileKind = 1;
// Another reader of the same folder (a network installation, the same user
// twice) may be replacing the file: its open and replace are tried again for
// about two seconds before they count as failed.
const int kBusyTries = 40;
const DWORD kBusyWaitMs = 50;

bool BusyCode(long code) {
    long system = code >= kFileErrSystem ? code - kFileErrSystem : 0;
    return code == kFileErrOpen || system == ERROR_SHARING_VIOLATION ||
           system == ERROR_LOCK_VIOLATION || system == ERROR_ACCESS_DENIED;
}

AFileSpec UserFolder() {
    if (AApp* app = AApp::current())
        return app->userFolder();
    return AApp::currentFolder();
}

// Puts a closed file's data on the disk before it replaces another.
void FlushToDisk(const AString& path) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    bool flushed = file != INVALID_HANDLE_VALUE && FlushFileBuffers(file);
    long code = flushed ? 0 : static_cast<long>(GetLastError());
    if (file != INVALID_HANDLE_VALUE)
        CloseHandle(file);
    if (!flushed)
        throw AFileError("fextras", 30, kFileErrSystem + code);
}

}  // namespace

AContainerFile::AContainerFile(const AFileSpec& folder, const char* name, int16_t scrambled, int16_t readOnly)
    : fReadOnly(readOnly), fName(name), fFile(folder, name), fScrambled(scrambled) {}

AContainerFile::AContainerFile(const char* name, const char* subFolder, int16_t scrambled, int16_t readOnly)
    : fReadOnly(readOnly), fName(name), fSubFolder(subFolder), fScrambled(scrambled) {
    AFileSpec folder = UserFolder();
    if (!fSubFolder.empty()) {
        folder = AFileSpec(folder, fSubFolder.c_str());
        if (!folder.exists() && AFileSpec(folder.path().c_str(), true).empty())
            throw AFileSpecError("fextras", 36, kFileErrPath);
    }
    fFile = AFileSpec(folder, fName.c_str());
}

AContainerFile::~AContainerFile() = default;

void AContainerFile::load() {
    loadWith(false);
}

void AContainerFile::loadAlternate() {
    loadWith(true);
}

bool AContainerFile::IsAccessFailure(const AError& error) {
    if (const auto* file = dynamic_cast<const AFileError*>(&error))
        return BusyCode(file->code());
    if (const auto* spec = dynamic_cast<const AFileSpecError*>(&error))
        return BusyCode(spec->code());
    return false;
}

void AContainerFile::loadWith(bool alternate) {
    for (int attempt = 1;; ++attempt) {
        try {
            loadOnce(alternate);
            return;
        } catch (const AError& error) {
            if (attempt >= kBusyTries || !IsAccessFailure(error))
                throw;
        }
        Sleep(kBusyWaitMs);
    }
}

void AContainerFile::loadOnce(bool alternate) {
    if (!fFile.exists()) {
        fDamaged = false;
        setDefaults();
        return;
    }
    // A file that is there but could not be read is not saved over either.
    try {
        if (fScrambled && !looksScrambled())
            fScrambled = 0;
        AFile file(fFile, kFileKind, kReadOptions, fScrambled != 0);
        AFileStream stream(file, "rb", 0);
        // The layer opens on first use: a file that cannot be read shows here,
        // not as an empty one.
        char first;
        if (stream.read(&first, 1) < 0 || stream.seek(0, 0) < 0)
            throw AFileError("fextras", 70, stream.lastError() ? stream.lastError() : long{kFileErrIO});
        if (alternate)
            readAlternateFrom(stream);
        else
            readFrom(stream);
        stream.close();
    } catch (...) {
        fDamaged = true;
        throw;
    }
    fDamaged = false;
}

int16_t AContainerFile::looksScrambled() {
    AFile file(fFile, kFileKind, kReadOptions, false);
    AFileStream stream(file, "rb", 0);
    unsigned char head[1000];
    long count = stream.read(head, sizeof head);
    if (count < 0)
        throw AFileError("fextras", 90, stream.lastError() ? stream.lastError() : long{kFileErrIO});
    stream.close();
    return count > 0 && static_cast<signed char>(head[0]) < 9;
}

template <class Write>
void AContainerFile::replace(const AFileSpec& target, Write write) {
    AString path = target.path();
    // Of this process alone: two readers saving the same file at once never
    // write into one temporary file.
    AString temp = path;
    temp += ".";
    temp += AString(static_cast<long>(GetCurrentProcessId()));
    temp += ".tmp";
    AFileSpec tempSpec(temp.c_str());
    DeleteFileA(temp.c_str());
    try {
        AFile file(tempSpec, kFileKind, kWriteOptions, fScrambled != 0);
        AFileStream stream(file, "w+", 0);
        write(stream);
        stream.close();
        FlushToDisk(temp);
    } catch (...) {
        DeleteFileA(temp.c_str());
        throw;
    }
    for (int attempt = 1;; ++attempt) {
        if (MoveFileExA(temp.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
            return;
        long code = static_cast<long>(GetLastError());
        if (attempt >= kBusyTries || !BusyCode(kFileErrSystem + code)) {
            DeleteFileA(temp.c_str());
            throw AFileError("fextras", 103, kFileErrSystem + code);
        }
        Sleep(kBusyWaitMs);
    }
}

void AContainerFile::save() {
    if (fReadOnly)
        return;
    if (fDamaged)
        throw AFileError("fextras", 111, kDamaged);
    replace(fFile, [this](AFileStream& stream) { writeTo(stream); });
}

void AContainerFile::saveCopyIn(const AFileSpec& folder) {
    replace(AFileSpec(folder, fName.c_str()), [this, &folder](AFileStream& stream) { writeCopyTo(stream, folder); });
}
