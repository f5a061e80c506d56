// The web engine the reader starts: the runtime layer brought up through the
// feature with the program's prompt service and content policy, the
// application's callbacks (new views get its event handler, addresses go
// through the online service's rules, filtered pages to its alert page) and
// the runtime's preferences.
//
// Owns the feature (stopped and deleted with the engine) and one reference
// to the application's event handler; the feature owns the callbacks.
#pragma once

#include <memory>

#include "reader/AppWebEngine.h"

class AApp;
class AMozillaFeature;
class AOnlineHost;
class ASVHandler;

class AppMozillaEngine : public AppWebEngine {
public:
    // app, host: not owned, outlive the engine.
    AppMozillaEngine(AApp* app, AOnlineHost* host);
    ~AppMozillaEngine() override;

    bool start() override;
    void setWindowCreatorCallBack() override;
    void setAlertCallBack() override;
    void setContentPolicyCallBack(const AString& serverName, const AString& controlScript) override;
    void setCharPref(const char* name, const char* value) override;
    void setBoolPref(const char* name, bool value) override;
    AString getCharPref(const char* name) override;
    long getIntPref(const char* name) override;

    AMozillaFeature* feature() const { return feature_.get(); }
    ASVHandler* handler() const { return handler_; }

private:
    AApp* app_;
    AOnlineHost* host_;
    std::unique_ptr<AMozillaFeature> feature_;
    ASVHandler* handler_ = nullptr;  // one reference
};
