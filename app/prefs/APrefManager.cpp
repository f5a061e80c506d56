// The reader's preferences and their defaults.
#include "app/prefs/APrefManager.h"

#include "base/procedural/AError.h"

APrefManager::APrefManager(const AFileSpec& folder, const char* name) : AOptionsInfo(folder, name) {
    // The base's load ran before this class's defaults existed.
    if (!file().exists())
        setDefaults();
}

APrefManager::~APrefManager() {
    try {
        save();
    } catch (const AError&) {
        // The old file stays; the options file's own destructor tries no better.
    }
    // The base saves again: the same bytes over the same file.
    setReadOnly(1);
    for (auto& entry : callBacks_)
        delete entry.second;
}

void APrefManager::setDefaults() {
    static const long kDefaults[][2] = {
        {kFontSize, 2002},   {kShowFirstDocument, 1}, {kMaxStates, 20}, {kWithMedia, 1},  {kHideMediaBars, 0},
        {kSpaceOperator, 1}, {kProximity, 3},         {kWorkOnline, 1}, {kAutoUpdate, 0}, {kMaxNetResults, 50},
    };
    for (const auto& row : kDefaults)
        setLong(row[0], row[1]);
}

void APrefManager::addCallBack(APrefCallBack* callBack) {
    if (callBack)
        callBacks_[static_cast<long>(callBacks_.size()) + 1] = callBack;
}

void APrefManager::notifyCallBacks() {
    for (auto& entry : callBacks_)
        entry.second->prefsChanged(*this);
}
