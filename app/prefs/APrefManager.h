// The reader's preferences ("sv.prf"): numbered numeric and text options in
// the options file form, with the defaults of a new reader, and the
// callbacks told when the reader confirms new preferences.
//
// Owns its callbacks. A damaged file raises out of the constructor (the
// options file's AFileError) and is never saved over; the destructor saves
// and drops a failing save.
#pragma once

#include <map>

#include "framework/files/AOptionsInfo.h"

class APrefManager;

class APrefCallBack {
public:
    virtual ~APrefCallBack() = default;
    virtual void prefsChanged(APrefManager& manager) = 0;
};

class APrefManager : public AOptionsInfo {
public:
    // The preference keys.
    enum : long {
        kFontSize = 1001,
        kShowFirstDocument = 1002,
        kSaveHistory = 1003,
        kMaxStates = 1004,
        kWithMedia = 1005,
        kHideMediaBars = 1006,
        kSpaceOperator = 1007,
        kProximity = 1008,
        kWorkOnline = 1009,
        kAutoUpdate = 1010,
        kMaxNetResults = 1012,
    };

    APrefManager(const AFileSpec& folder, const char* name);
    ~APrefManager() override;

    long getMaxNetResults() { return getLong(kMaxNetResults); }
    long getWorkOnline() { return getLong(kWorkOnline); }
    // The manager owns callBack from then on.
    void addCallBack(APrefCallBack* callBack);
    // Each callback in the order it was added.
    void notifyCallBacks();

protected:
    void setDefaults() override;

private:
    std::map<long, APrefCallBack*> callBacks_;  // owned, keys 1, 2, 3...
};
