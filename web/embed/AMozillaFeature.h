// The application feature that brings the web runtime up inside the process
// and takes it down again, and owns the application's three callback objects
// (new windows, content policy, alerts).
//
// Failures of the start-up are one line on the current error stream plus a
// runtime result code; nothing is thrown from the start-up chain but the
// allocation check's exhaustion. User-interface thread only.
#pragma once

#include "web/embed/AAppFeature.h"

#include "base/object/AString.h"
#include "platform/webrt/nsComponents.h"

#include <cstddef>
#include <new>

class AApp;
class AAlertCallBack;
class AContentPolicyCallBack;
class AMozillaWindowCreatorCallBack;
class nsIWindowCreator;

// The runtime's generic-constructor rule for the program's components: an
// outer object gives NS_ERROR_NO_AGGREGATION, a failed allocation
// NS_ERROR_OUT_OF_MEMORY; otherwise the new object is queried for iid.
template <class T>
nsresult MozillaGenericConstructor(nsISupports* outer, const nsIID& iid, void** result) {
    if (!result)
        return NS_ERROR_NULL_POINTER;
    *result = nullptr;
    if (outer)
        return NS_ERROR_NO_AGGREGATION;
    // The runtime calls in here: nothing may be thrown back into it (an
    // assertion failure has been reported when it is raised).
    try {
        T* object = new (std::nothrow) T;
        if (!object)
            return NS_ERROR_OUT_OF_MEMORY;
        object->AddRef();
        nsresult r = object->QueryInterface(iid, result);
        object->Release();
        return r;
    } catch (...) {
        *result = nullptr;
        return NS_ERROR_FAILURE;
    }
}

class AMozillaFeature : public AAppFeature {
public:
    // The registry key under HKEY_LOCAL_MACHINE whose "GreHome" names the runtime folder.
    static const char* const kGreKey;
    // The observe-URL prefix of the default content-policy callback.
    static const char* const kObservePrefix;
    // The program's components: the prompt service and the content policy.
    // Their constructors are set by the library that implements them before start.
    static nsModuleComponentInfo kComponents[2];

    // Answers the product folder name of the application (its short name
    // followed by "10.5"); the application object sets it before start.
    typedef AString (*ProductFolderNameFunction)(AApp* app);
    static void setProductFolderNameFunction(ProductFolderNameFunction fn);
    // Makes the window creator handed to the window watcher (feature, flag);
    // null until the program has one, and then none is handed.
    typedef nsIWindowCreator* (*WindowCreatorMaker)(AMozillaFeature* feature, int flag);
    static void setWindowCreatorMaker(WindowCreatorMaker fn);

    // The live feature, or null.
    static AMozillaFeature* current;

    AMozillaFeature();
    // Deletes the three callbacks; does not stop the runtime (call stop first).
    ~AMozillaFeature() override;

    // True when the runtime started (also when only its app shell is missing).
    virtual bool start(AApp* app);
    // Ends the runtime when it was started with its app shell; always true.
    virtual bool stop();

    // The feature owns what it is given; a different pointer deletes the old object.
    void setWindowCreatorCallBack(AMozillaWindowCreatorCallBack* callBack);
    void setContentPolicyCallBack(AContentPolicyCallBack* callBack);
    void setAlertCallBack(AAlertCallBack* callBack);
    AMozillaWindowCreatorCallBack* getWindowCreatorCallBack() const { return windowCreatorCallBack_; }
    AContentPolicyCallBack* getContentPolicyCallBack() const { return contentPolicyCallBack_; }
    AAlertCallBack* getAlertCallBack() const { return alertCallBack_; }

    nsresult initEmbedding(AApp* app);
    // The "GreHome" text, or empty when the key or the value is missing.
    static AString lookupGreHome();
    // Registers each entry of the table whose factory can be made; answers the last call's result.
    static nsresult registerComponents(const nsModuleComponentInfo* table = kComponents, size_t count = 2);
    // Makes the profile "default" current on a first run, else keeps the current one.
    static nsresult setUpProfile();
    static void shutdownEmbedding();
    void releaseCallBacks();

private:
    AMozillaWindowCreatorCallBack* windowCreatorCallBack_ = nullptr;  // owned
    AContentPolicyCallBack* contentPolicyCallBack_ = nullptr;         // owned
    AAlertCallBack* alertCallBack_ = nullptr;                         // owned
};
