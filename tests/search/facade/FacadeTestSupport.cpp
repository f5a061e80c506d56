// Support of the facade tests.
#include "tests/search/facade/FacadeTestSupport.h"

#include <windows.h>

#include "base/object/AFileSpec.h"
#include "search/facade/SearchError.h"
#include "tests/support/TestHooks.h"

std::string Outcome(const std::function<void()>& fn) {
    std::string out = "ok";
    int code = FatalExitCodeOf([&] {
        try {
            fn();
        } catch (const ASearchError& e) {
            std::string message = g_errorMessage;
            out = "error " + std::to_string(e.code()) + " " + message;
        } catch (const AFileSpecError& e) {
            out = "file " + std::to_string(e.code());
        }
    });
    // A fatal error ends through the test seam after its box "File f;line n\n...".
    if (code != -1) {
        std::string box = CapturedBoxes().empty() ? "" : CapturedBoxes().back().text;
        out = "fatal " + box.substr(0, box.find('\n'));
        ClearBoxes();
        g_reportInProgress = 0;
    }
    return out;
}

namespace {

std::string Join(const std::vector<long>& docs) {
    std::string out;
    for (long d : docs)
        out += (out.empty() ? "" : ",") + std::to_string(d);
    return out;
}

void DeleteCollected(const AFileSpec& spec) {
    TempFileCollector::files().push_back(spec.path().c_str());
}

}  // namespace

namespace {

std::string WalkList(ALo& list, bool backwards) {
    list.open();
    std::vector<long> docs;
    for (long d = backwards ? list.last() : list.first(); d != -1 && docs.size() < 1000000;
         d = backwards ? list.previous() : list.next())
        docs.push_back(d);
    list.close();
    return Join(docs);
}

}  // namespace

std::string Walk(ALo& list) {
    return WalkList(list, false);
}

std::string WalkBack(ALo& list) {
    return WalkList(list, true);
}

std::vector<std::string>& TempFileCollector::files() {
    static std::vector<std::string> collected;
    return collected;
}

TempFileCollector::TempFileCollector() {
    files().clear();
    ALoSetTempFileHook(DeleteCollected);
}

TempFileCollector::~TempFileCollector() {
    ALoSetTempFileHook(nullptr);
    for (const std::string& path : files())
        DeleteFileA(path.c_str());
    files().clear();
}

FolderCleaner::~FolderCleaner() {
    WIN32_FIND_DATAA found;
    HANDLE h = FindFirstFileA((folder_ + "\\*").c_str(), &found);
    if (h == INVALID_HANDLE_VALUE)
        return;
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            DeleteFileA((folder_ + "\\" + found.cFileName).c_str());
    } while (FindNextFileA(h, &found));
    FindClose(h);
}
