// Reader and work folders of network installations: names, copies, swaps.
#include "app/frame/AWorkFolders.h"

#include <windows.h>

#include <cctype>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "base/object/ADirectoryLister.h"
#include "base/procedural/AError.h"

namespace {

bool IsDeviceName(const char* name) {
    static const char* const kDevices[] = {"CON", "PRN", "AUX", "NUL"};
    size_t stem = std::strcspn(name, ".");
    std::string upper;
    for (size_t i = 0; i < stem; ++i)
        upper += static_cast<char>(std::toupper(static_cast<unsigned char>(name[i])));
    for (const char* device : kDevices) {
        if (upper == device)
            return true;
    }
    return upper.size() == 4 && (upper.compare(0, 3, "COM") == 0 || upper.compare(0, 3, "LPT") == 0) &&
           upper[3] >= '1' && upper[3] <= '9';
}

AFileSpec Sibling(const AFileSpec& userDir, const char* name, const char* suffix) {
    return AFileSpec(userDir, (std::string(".") + name + suffix).c_str());
}

bool Rename(const AFileSpec& from, const AFileSpec& to) {
    return MoveFileA(from.path().c_str(), to.path().c_str()) != 0;
}

// The reader folder's work-save lock: a file held open without sharing by the
// process that saves, gone with its handle (a killed run frees it too).
// Another reader of the same folder neither saves nor recovers meanwhile.
const char kLockName[] = ".worksave.lock";
const int kLockTries = 20;
const DWORD kLockWaitMs = 50;

std::map<std::string, HANDLE>& HeldLocks() {
    static std::map<std::string, HANDLE> held;
    return held;
}

HANDLE TryLock(const AFileSpec& userDir) {
    AFileSpec lock(userDir, kLockName);
    return CreateFileA(lock.path().c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS,
                       FILE_ATTRIBUTE_HIDDEN | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
}

// Waits a little for another reader's save to end; false when it goes on.
bool TakeLock(const AFileSpec& userDir) {
    for (int i = 0; i < kLockTries; ++i) {
        HANDLE lock = TryLock(userDir);
        if (lock != INVALID_HANDLE_VALUE) {
            HeldLocks()[userDir.path().c_str()] = lock;
            return true;
        }
        Sleep(kLockWaitMs);
    }
    return false;
}

void ReleaseLock(const AFileSpec& userDir) {
    auto at = HeldLocks().find(userDir.path().c_str());
    if (at == HeldLocks().end())
        return;
    CloseHandle(at->second);
    HeldLocks().erase(at);
}

void Recover(const AFileSpec& userDir);

}  // namespace

bool IsUsableFolderName(const char* name) {
    if (!name || !*name || *name == '.')
        return false;
    for (const unsigned char* p = reinterpret_cast<const unsigned char*>(name); *p; ++p) {
        if (*p < 0x20 || *p == 0x7F || std::strchr("\\/:*?\"<>|", *p))
            return false;
    }
    char last = name[std::strlen(name) - 1];
    return last != ' ' && last != '.' && !IsDeviceName(name);
}

bool CopyFileReplacing(const AFileSpec& source, const AFileSpec& target) {
    std::string temp = std::string(target.path().c_str()) + ".~tmp";
    DeleteFileA(temp.c_str());
    try {
        if (source.copyTo(AFileSpec(temp.c_str())) != 0) {
            DeleteFileA(temp.c_str());
            return false;
        }
    } catch (const AError&) {
        DeleteFileA(temp.c_str());
        return false;
    }
    if (!MoveFileExA(temp.c_str(), target.path().c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        DeleteFileA(temp.c_str());
        return false;
    }
    return true;
}

bool RemoveFolder(const AFileSpec& folder) {
    if (folder.empty() || !folder.exists())
        return true;
    try {
        folder.removeTree(true);
    } catch (const AError&) {
        return false;
    }
    return !folder.exists();
}

bool BeginWorkSave(const AFileSpec& userDir, const char* name) {
    AFileSpec work(userDir, name), old = Sibling(userDir, name, ".old"), marker = Sibling(userDir, name, ".new");
    if (userDir.empty() || HeldLocks().count(userDir.path().c_str()) || !TakeLock(userDir))
        return false;
    Recover(userDir);
    bool hadOld = work.exists();
    if (hadOld ? !Rename(work, old) : marker.createDirectory() != 0) {
        ReleaseLock(userDir);
        return false;
    }
    if (work.createDirectory() != 0 || !work.isDirectory()) {
        RollBackWorkSave(userDir, name);
        return false;
    }
    return true;
}

void CommitWorkSave(const AFileSpec& userDir, const char* name) {
    AFileSpec old = Sibling(userDir, name, ".old"), gone = Sibling(userDir, name, ".del");
    if (old.exists()) {
        RemoveFolder(gone);
        if (Rename(old, gone))
            RemoveFolder(gone);
    }
    RemoveFolder(Sibling(userDir, name, ".new"));
    ReleaseLock(userDir);
}

namespace {

void RollBack(const AFileSpec& userDir, const char* name) {
    AFileSpec work(userDir, name), old = Sibling(userDir, name, ".old"), marker = Sibling(userDir, name, ".new");
    if (old.exists()) {
        if (RemoveFolder(work))
            Rename(old, work);
    } else if (marker.exists()) {
        if (RemoveFolder(work))
            RemoveFolder(marker);
    }
}

}  // namespace

void RollBackWorkSave(const AFileSpec& userDir, const char* name) {
    RollBack(userDir, name);
    ReleaseLock(userDir);
}

void RecoverWorkFolders(const AFileSpec& userDir) {
    if (userDir.empty() || !userDir.isDirectory())
        return;
    // This process's own save left unfinished is given up.
    if (HeldLocks().count(userDir.path().c_str())) {
        Recover(userDir);
        ReleaseLock(userDir);
        return;
    }
    // A save under way in another reader is its own to finish.
    HANDLE lock = TryLock(userDir);
    if (lock == INVALID_HANDLE_VALUE)
        return;
    Recover(userDir);
    CloseHandle(lock);
}

namespace {

void Recover(const AFileSpec& userDir) {
    if (userDir.empty() || !userDir.isDirectory())
        return;
    std::vector<std::string> names;
    ADirectoryLister lister(userDir, ADirectoryLister::kAllNames);
    for (AFileSpec entry = lister.first(); lister.hasEntry(); entry = lister.next()) {
        if (lister.entryIsDirectory())
            names.push_back(entry.name().c_str());
    }
    for (const std::string& sibling : names) {
        size_t n = sibling.size();
        if (n < 6 || sibling[0] != '.')
            continue;
        std::string suffix = sibling.substr(n - 4);
        std::string name = sibling.substr(1, n - 5);
        if (!IsUsableFolderName(name.c_str()))
            continue;
        if (suffix == ".del")
            RemoveFolder(AFileSpec(userDir, sibling.c_str()));
        else if (suffix == ".old" || suffix == ".new")
            RollBack(userDir, name.c_str());
    }
}

}  // namespace
