// Reader and work folders of network installations: names, copies, swaps.
#include "app/frame/AWorkFolders.h"

#include <windows.h>

#include <cctype>
#include <cstring>
#include <string>
#include <vector>

#include "base/object/AError.h"
#include "base/procedural/ADirectoryLister.h"

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
    RecoverWorkFolders(userDir);
    bool hadOld = work.exists();
    if (hadOld ? !Rename(work, old) : marker.createDirectory() != 0)
        return false;
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
}

void RollBackWorkSave(const AFileSpec& userDir, const char* name) {
    AFileSpec work(userDir, name), old = Sibling(userDir, name, ".old"), marker = Sibling(userDir, name, ".new");
    if (old.exists()) {
        if (RemoveFolder(work))
            Rename(old, work);
    } else if (marker.exists()) {
        if (RemoveFolder(work))
            RemoveFolder(marker);
    }
}

void RecoverWorkFolders(const AFileSpec& userDir) {
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
            RollBackWorkSave(userDir, name.c_str());
    }
}
