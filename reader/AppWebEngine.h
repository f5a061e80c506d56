// The embedded web engine as the application's start-up drives it: the
// feature started, its three callbacks set, preferences written and read.
//
// AppWebEngine's own operations answer failure (start false, reads empty):
// the absent engine. The reader's is AppMozillaEngine; tests record the calls.
#pragma once

#include "base/object/AString.h"

class AppWebEngine {
public:
    virtual ~AppWebEngine() = default;
    // Creates the feature and starts it at once; false when there is no engine.
    virtual bool start() { return false; }
    virtual void setWindowCreatorCallBack() {}
    virtual void setAlertCallBack() {}
    // The content-policy callback, given the texts of SERVERNAME and CONTROLSCRIPT.
    virtual void setContentPolicyCallBack(const AString& serverName, const AString& controlScript) {
        (void)serverName;
        (void)controlScript;
    }
    virtual void setCharPref(const char* name, const char* value) {
        (void)name;
        (void)value;
    }
    virtual void setBoolPref(const char* name, bool value) {
        (void)name;
        (void)value;
    }
    virtual AString getCharPref(const char* name) {
        (void)name;
        return AString();
    }
    virtual long getIntPref(const char* name) {
        (void)name;
        return 0;
    }
};
