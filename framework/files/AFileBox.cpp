// The file boxes over the common dialogs.
#include "framework/files/AFileBox.h"

#include <windows.h>
// The dialog declarations need windows.h first.
#include <commdlg.h>

#include <cstring>
#include <string>

#include "base/procedural/KyPath.h"
#include "base/procedural/ProcAddress.h"
#include "framework/app/AppServices.h"

namespace {

const int kPathBytes = 260;
char gRememberedFolder[kPathBytes];

using FileDialogFn = BOOL(WINAPI*)(LPOPENFILENAMEA);

// The common dialogs are loaded at the first box: the start does without them.
int SystemFileDialog(void* record, bool isSave) {
    static auto save = reinterpret_cast<FileDialogFn>(KY_SystemProc("COMDLG32.DLL", "GetSaveFileNameA"));
    static auto open = reinterpret_cast<FileDialogFn>(KY_SystemProc("COMDLG32.DLL", "GetOpenFileNameA"));
    FileDialogFn call = isSave ? save : open;
    return call ? call(static_cast<OPENFILENAMEA*>(record)) : 0;
}

AFileDialogCall gFileDialog = SystemFileDialog;

void Remember(const AString& folder) {
    lstrcpynA(gRememberedFolder, folder.c_str(), kPathBytes);
}

// Puts the current folder back whatever the dialog did with it.
class CurrentFolderGuard {
public:
    CurrentFolderGuard() : saved_(KY_GetCwd()) {}
    ~CurrentFolderGuard() {
        if (saved_)
            KY_ChDir(saved_);
    }
    CurrentFolderGuard(const CurrentFolderGuard&) = delete;
    CurrentFolderGuard& operator=(const CurrentFolderGuard&) = delete;

private:
    char* saved_;  // owned until KY_ChDir takes it
};

}  // namespace

AFileFilter::AFileFilter(const char* pattern_, const char* description_)
    : pattern(pattern_), description(description_) {}

AFileFilter::AFileFilter(const AString& pattern_, const char* description_)
    : pattern(pattern_), description(description_) {}

AFileFilter::AFileFilter(const AString& pattern_, const AResourceRef& list, short item) : pattern(pattern_) {
    GetListStringByRef(description, list, item);
}

AFileFilter AFileFilter::defaultFilter() {
    AString description;
    return AFileFilter("*.*", GetListString(description, 129, 3).c_str());
}

AFileFilterList::~AFileFilterList() {
    while (!list_.empty())
        delete static_cast<AFileFilter*>(list_.removeFirst());
}

void AFileFilterList::add(const AFileFilter& filter) {
    list_.append(new AFileFilter(filter));
}

const AFileFilter& AFileFilterList::at(short index) const {
    AListIterator walk(&list_);
    void* filter = walk.first();
    for (short i = 0; i < index; ++i)
        filter = walk.next();
    return *static_cast<AFileFilter*>(filter);
}

AFileDialogCall SetFileDialogCall(AFileDialogCall call) {
    AFileDialogCall previous = gFileDialog;
    gFileDialog = call ? call : SystemFileDialog;
    return previous;
}

const char* AFileBoxBase::rememberedFolder() {
    return gRememberedFolder;
}

void AFileBoxBase::runDialog(const char* title, const AFileSpec& initialFile, AFileFilterList& filters,
                             int16_t filterIndex, bool isSave) {
    if (filters.count() == 0)
        filters.add(AFileFilter::defaultFilter());
    if (filterIndex < 0 || filterIndex >= filters.count())
        filterIndex = 0;
    CurrentFolderGuard folderGuard;

    // description NUL pattern NUL ... NUL
    std::string filterText;
    for (short i = 0; i < filters.count(); ++i) {
        const AFileFilter& filter = filters.at(i);
        filterText.append(filter.description.c_str()).append(1, '\0');
        filterText.append(filter.pattern.c_str()).append(1, '\0');
    }
    filterText.append(1, '\0');

    char name[kPathBytes] = "";
    if (!initialFile.empty()) {
        if (initialFile.isDirectory()) {
            Remember(initialFile.path());
        } else {
            lstrcpynA(name, initialFile.name().c_str(), kPathBytes);
            AFileSpec parent = initialFile.parent(false);
            if (!parent.empty() && parent.isDirectory())
                Remember(parent.path());
        }
    }
    char initialFolder[kPathBytes];
    std::memcpy(initialFolder, gRememberedFolder, kPathBytes);

    OPENFILENAMEA dialog;
    std::memset(&dialog, 0, sizeof dialog);
    dialog.lStructSize = OPENFILENAME_SIZE_VERSION_400A;
    dialog.hwndOwner = static_cast<HWND>(MessageBoxOwnerWindow());
    dialog.lpstrFilter = filterText.c_str();
    dialog.nFilterIndex = filterIndex + 1;
    dialog.lpstrFile = name;
    dialog.nMaxFile = kPathBytes;
    dialog.lpstrInitialDir = initialFolder;
    dialog.lpstrTitle = title;
    dialog.Flags = OFN_EXPLORER;
    std::string extension;
    if (isSave) {
        // "*.rtf" gives "rtf"; "*.*" gives none.
        std::string pattern = filters.at(0).pattern.c_str();
        size_t dot = pattern.find('.');
        if (dot != std::string::npos && pattern.find('*', dot) == std::string::npos) {
            extension = pattern.substr(dot + 1);
            dialog.lpstrDefExt = extension.c_str();
        }
        dialog.Flags |= OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY | OFN_NOREADONLYRETURN;
    } else {
        dialog.Flags |= OFN_HIDEREADONLY | OFN_FILEMUSTEXIST;
    }

    ok_ = gFileDialog(&dialog, isSave) ? 1 : 0;
    if (!ok_)
        return;
    name[kPathBytes - 1] = '\0';
    file_ = AFileSpec(name);
    size_t offset = dialog.nFileOffset < std::strlen(name) ? dialog.nFileOffset : 0;
    fileName_ = AString(name + offset);
    filterIndex_ = static_cast<int16_t>(dialog.nFilterIndex > 0 ? dialog.nFilterIndex - 1 : 0);
    Remember(file_.parent(false).path());
}

AFileBox::AFileBox(const AFileSpec& initialFile, const AFileFilter& filter, const char* title) {
    AFileFilterList filters;
    filters.add(filter);
    runDialog(title, initialFile, filters, 0, true);
}

AFileBox::AFileBox(const AFileSpec& initialFile, const char* const (*pairs)[2], int16_t filterIndex,
                   const char* title) {
    AFileFilterList filters;
    for (; pairs && (*pairs)[0]; ++pairs)
        filters.add(AFileFilter((*pairs)[0], (*pairs)[1] ? (*pairs)[1] : ""));
    runDialog(title, initialFile, filters, filterIndex, true);
}

AOpenFileBox::AOpenFileBox(const AFileFilter& filter, const char* title, const AFileSpec* initialFile) {
    AFileFilterList filters;
    filters.add(filter);
    runDialog(title, initialFile ? *initialFile : AFileSpec(), filters, 0, false);
}
