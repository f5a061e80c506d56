// Folder listing over FindFirstFileA / FindNextFileA.
#include "base/object/ADirectoryLister.h"

#include <windows.h>

#include <cstring>

namespace {

bool LeftOut(const char* name, ADirectoryLister::Names names) {
    if (names == ADirectoryLister::kSkipDotNames)
        return name[0] == '.';
    return std::strcmp(name, ".") == 0 || std::strcmp(name, "..") == 0;
}

// Steps over the names left out; false at the end of the listing.
bool SkipNames(HANDLE search, WIN32_FIND_DATAA& data, bool found, ADirectoryLister::Names names) {
    while (found && LeftOut(data.cFileName, names))
        found = FindNextFileA(search, &data) != 0;
    return found;
}

}  // namespace

ADirectoryLister::ADirectoryLister(const AFileSpec& folder, Names names)
    : folder_(folder), pattern_(folder.path()), names_(names) {
    pattern_ += "\\*.*";
}

ADirectoryLister::~ADirectoryLister() {
    if (search_)
        FindClose(search_);
}

void ADirectoryLister::take(const char* name, unsigned long attributes) {
    attributes_ = name ? attributes : 0;
    entry_ = name ? AFileSpec(folder_, name) : AFileSpec();
}

AFileSpec ADirectoryLister::first() {
    if (search_)
        FindClose(search_);
    search_ = nullptr;
    WIN32_FIND_DATAA data = {};
    HANDLE h = folder_.empty() ? INVALID_HANDLE_VALUE : FindFirstFileA(pattern_.c_str(), &data);
    if (h != INVALID_HANDLE_VALUE)
        search_ = h;
    bool found = search_ && SkipNames(search_, data, true, names_);
    take(found ? data.cFileName : nullptr, data.dwFileAttributes);
    return entry_;
}

AFileSpec ADirectoryLister::next() {
    WIN32_FIND_DATAA data = {};
    bool found = search_ && SkipNames(search_, data, FindNextFileA(search_, &data) != 0, names_);
    take(found ? data.cFileName : nullptr, data.dwFileAttributes);
    return entry_;
}

bool ADirectoryLister::entryIsDirectory() const {
    return hasEntry() && (attributes_ & FILE_ATTRIBUTE_DIRECTORY);
}
