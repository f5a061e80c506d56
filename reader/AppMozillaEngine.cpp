// The reader's web engine over the runtime layer.
#include "reader/AppMozillaEngine.h"

#include "reader/TheApp.h"
#include "app/online/ASVMozillaCallBacks.h"
#include "platform/flashmovie/FlashMovie.h"
#include "web/browser/AMozillaContentPolicy.h"
#include "web/embed/AMozillaFeature.h"
#include "web/embed/KyMozillaPrefs.h"

namespace {

AString ProductFolderName(AApp* app) {
    TheApp* reader = app ? static_cast<TheApp*>(app->castTo(&TheApp::classRecord)) : nullptr;
    return reader ? reader->getProductFolderName() : AString("sv10.5");
}

}  // namespace

AppMozillaEngine::AppMozillaEngine(AApp* app, AOnlineHost* host) : app_(app), host_(host) {}

AppMozillaEngine::~AppMozillaEngine() {
    if (feature_) {
        feature_->stop();
        feature_.reset();
    }
    if (handler_)
        handler_->release();
}

bool AppMozillaEngine::start() {
    InstallBrowserComponents();
    // The movies of the rooms, the atlas and the home page play in our stand-in.
    RegisterFlashStandIn();
    AMozillaFeature::setProductFolderNameFunction(ProductFolderName);
    feature_.reset(new AMozillaFeature);
    if (feature_->start(app_))
        return true;
    feature_->stop();
    feature_.reset();
    return false;
}

// The handler is made first: every new view is given it.
void AppMozillaEngine::setWindowCreatorCallBack() {
    if (!handler_) {
        handler_ = new ASVHandler(host_);
        handler_->addRef();
    }
    if (feature_)
        feature_->setWindowCreatorCallBack(new ASVWindowCreatorCallBack(handler_));
}

void AppMozillaEngine::setAlertCallBack() {
    if (feature_)
        feature_->setAlertCallBack(new ASVAlertCallBack(host_));
}

void AppMozillaEngine::setContentPolicyCallBack(const AString& serverName, const AString& controlScript) {
    if (!feature_)
        return;
    auto* policy = new ASVContentPolicyCallBack(host_);
    policy->setServerName(serverName.c_str());
    policy->setControlScript(controlScript.c_str());
    feature_->setContentPolicyCallBack(policy);
}

void AppMozillaEngine::setCharPref(const char* name, const char* value) {
    KyMozillaSetCharPref(name, value);
}

void AppMozillaEngine::setBoolPref(const char* name, bool value) {
    KyMozillaSetBoolPref(name, value ? 1 : 0);
}

AString AppMozillaEngine::getCharPref(const char* name) {
    AString value;
    KyMozillaGetCharPref(name, value);
    return value;
}

long AppMozillaEngine::getIntPref(const char* name) {
    int32_t value = 0;
    KyMozillaGetIntPref(name, &value);
    return value;
}
