// The default answers of the centre views' application services.
#include "panes/content/article/AContentApp.h"

#include <windows.h>

namespace {

AContentApp* gInstalled = nullptr;

}  // namespace

AContentApp& AContentApp::current() {
    static AContentApp fallback;
    return gInstalled ? *gInstalled : fallback;
}

void AContentApp::install(AContentApp* app) {
    gInstalled = app;
}

void AContentApp::releaseTempFile(AString& path) {
    if (path.empty())
        return;
    DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY))
        registerTempFile(path.c_str());
    path = AString();
}

AString AContentApp::escapeMarkup(const char* text, const char* set) {
    return EscapeChars(text, set);
}
