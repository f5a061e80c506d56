// The application object's tools: the dictionary binding, the shared
// selection menus and the phonetic window.
#include <windows.h>

#include <cstdio>
#include <new>

#include "reader/ADicoLibrary.h"
#include "reader/ASVSelContextMenuCallBack.h"
#include "reader/AuteurWin.h"
#include "reader/PhonetiseurWin.h"
#include "reader/TheApp.h"
#include "base/procedural/AError.h"
#include "base/object/AFile.h"
#include "base/object/AFileStream.h"
#include "search/facade/ADataLocation.h"
#include "search/facade/ASearchBase.h"

const AClass* TheApp::toolWindowClass(int which) {
    return which ? &PhonetiseurWin::classRecord : &AuteurWin::classRecord;
}

void TheApp::setUpDictionary() {
    // A reader whose configuration names no dictionary library has none, without a word.
    if (!gDataLocation || gDataLocation->getString("DICO_DLL").empty())
        return;
    dico_.reset(CheckAlloc(new (std::nothrow) ADicoLibrary, "appclass", __LINE__));
    dico_->setUp();
}

void TheApp::closeDictionary() {
    if (!dico_)
        return;
    dico_->close();
    dico_.reset();
}

ASVSelContextMenuCallBack* TheApp::getSelContextMenu(bool findInText) {
    std::unique_ptr<ASVSelContextMenuCallBack>& slot = selMenus_[findInText ? 1 : 0];
    if (!slot)
        slot.reset(CheckAlloc(new (std::nothrow) ASVSelContextMenuCallBack(findInText ? 1 : 0), "appclass", __LINE__));
    return slot.get();
}

void TheApp::openPhonetiseur() {
    if (!phon_ || phon_->getResultCount() <= 0)
        return;
    AComponent* root = AComponent::loadLayout(this, "Phonetiseur", 0);
    void* typed = root ? root->castTo(&PhonetiseurWin::classRecord) : nullptr;
    if (root && !typed)
        DeleteComponent(root);
    auto* window = static_cast<PhonetiseurWin*>(CheckAlloc(typed, "appclass", __LINE__));
    window->centerIn(nullptr, true);
    window->refreshList();
    window->showUpdate();
    localLoopFlag_ = 0;
    // The window also goes by its close box, Escape or a quit: the loop never
    // runs on over a destroyed window.
    while (localLoopFlag_ == 0 && PhonetiseurWin::isOpen(window))
        runOnce();
}

AString TheApp::copyMediaToTemp(short baseIndex, long record) {
    return extractRecordToTemp(baseIndex, 0, record, ".db");
}

AString TheApp::extractRecordToTemp(short baseIndex, short table, long record, const char* extension) {
    AppDataManager* data = getDataManager();
    ASearchBase* base = data ? data->getBase(baseIndex) : nullptr;
    if (!base)
        ThrowAssert("frame1", __LINE__);
    static unsigned serial = 0;
    char name[40];
    snprintf(name, sizeof name, "sv%lx%x%s", GetTickCount() & 0xFFFFFFul, ++serial, extension ? extension : "");
    AFileSpec spec(getTempDir(), name);
    try {
        AFile file(spec, 0, kPlainFileOptions, false);
        AFileStream out(file, "wb", 0);
        base->readToStream(out, table, record, 0);
        out.close();
    } catch (const AError&) {
        DeleteFileA(spec.path().c_str());
        return AString();
    }
    registerTempFile(spec.path().c_str());
    return spec.path();
}
