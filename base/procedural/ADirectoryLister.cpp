// Folder listing over FindFirstFileA / FindNextFileA.
#include "base/procedural/ADirectoryLister.h"

#include <windows.h>

namespace {

// Steps over names beginning with '.'; false at the end of the listing.
bool SkipDotNames(HANDLE search, WIN32_FIND_DATAA& data, bool found) {
    while (found && data.cFileName[0] == '.')
        found = FindNextFileA(search, &data) != 0;
    return found;
}

}  // namespace

ADirectoryLister::ADirectoryLister(const AFileSpec& folder) : folder_(folder), pattern_(folder.path()) {
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
    bool found = search_ && SkipDotNames(search_, data, true);
    take(found ? data.cFileName : nullptr, data.dwFileAttributes);
    return entry_;
}

AFileSpec ADirectoryLister::next() {
    WIN32_FIND_DATAA data = {};
    bool found = search_ && SkipDotNames(search_, data, FindNextFileA(search_, &data) != 0);
    take(found ? data.cFileName : nullptr, data.dwFileAttributes);
    return entry_;
}

bool ADirectoryLister::entryIsDirectory() const {
    return hasEntry() && (attributes_ & FILE_ATTRIBUTE_DIRECTORY);
}
