// The application object's tools: the dictionary binding.
#include <new>

#include "app/main/ADicoLibrary.h"
#include "app/main/TheApp.h"
#include "base/object/AError.h"
#include "search/facade/ADataLocation.h"

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
