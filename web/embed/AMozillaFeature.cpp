// Starting and stopping the web runtime, and the feature's callbacks.
#include "web/embed/AMozillaFeature.h"

#include "web/embed/AAlertCallBack.h"
#include "web/embed/AContentPolicyCallBack.h"
#include "web/embed/AMozillaFileLocationProvider.h"
#include "web/embed/AMozillaWindowCreatorCallBack.h"

#include "base/procedural/AError.h"
#include "base/procedural/AOutStream.h"
#include "base/procedural/KyPath.h"
#include "platform/webrt/nsEmbedding.h"
#include "platform/webrt/nsPrompts.h"

#include <windows.h>

#include <new>

const char* const AMozillaFeature::kGreKey = "Software\\webrt\\GRE\\Savantorium\\1.3";
const char* const AMozillaFeature::kObservePrefix = "http://www.savantorium.fr/observe?topic=";

// The browser library puts the constructors of the program's prompt service
// and content policy here (InstallBrowserComponents); an entry without one is
// skipped by registerComponents.
nsModuleComponentInfo AMozillaFeature::kComponents[2] = {
    {"Prompt Service",
     {0xa2112d6a, 0x0e28, 0x421f, {0xb4, 0x6a, 0x25, 0xc0, 0xb3, 0x08, 0xcb, 0xd0}},
     NS_PROMPTSERVICE_CONTRACTID,
     nullptr},
    {"content-policy",
     {0x0e3afd3d, 0xeb60, 0x4c2b, {0x96, 0x3b, 0x56, 0xd7, 0xc4, 0x39, 0xf1, 0x24}},
     NS_CONTENTPOLICY_CONTRACTID,
     nullptr},
};

AMozillaFeature* AMozillaFeature::current = nullptr;

namespace {

const char kSubFolderName[] = "KYMozilla";
const size_t kGreHomeBuffer = 1024;

AMozillaFeature::ProductFolderNameFunction g_productFolderName = nullptr;
AMozillaFeature::WindowCreatorMaker g_windowCreatorMaker = nullptr;

// Module state: one copy per process.
bool g_embeddingStarted = false;
nsIAppShell* g_appShell = nullptr;              // one reference while held
nsPtr<nsIWindowCreator> g_windowCreator;        // kept for the process's life

void WriteError(const char* text) {
    CurrentErrorStream().writeString(text).writeString("\n");
}

// Deletes the owned callback in slot unless it is the one replacing it.
template <class T>
void ReplaceOwned(T*& slot, T* callBack = nullptr) {
    if (callBack != slot) {
        delete slot;
        slot = callBack;
    }
}

}  // namespace

void AMozillaFeature::setProductFolderNameFunction(ProductFolderNameFunction fn) {
    g_productFolderName = fn;
}

void AMozillaFeature::setWindowCreatorMaker(WindowCreatorMaker fn) {
    g_windowCreatorMaker = fn;
}

AMozillaFeature::AMozillaFeature() {
    current = this;
    contentPolicyCallBack_ = new AContentPolicyCallBack(kObservePrefix);
}

AMozillaFeature::~AMozillaFeature() {
    releaseCallBacks();
}

void AMozillaFeature::releaseCallBacks() {
    if (current == this)
        current = nullptr;
    ReplaceOwned(windowCreatorCallBack_);
    ReplaceOwned(contentPolicyCallBack_);
    ReplaceOwned(alertCallBack_);
}

void AMozillaFeature::setWindowCreatorCallBack(AMozillaWindowCreatorCallBack* callBack) {
    ReplaceOwned(windowCreatorCallBack_, callBack);
}

void AMozillaFeature::setContentPolicyCallBack(AContentPolicyCallBack* callBack) {
    ReplaceOwned(contentPolicyCallBack_, callBack);
}

void AMozillaFeature::setAlertCallBack(AAlertCallBack* callBack) {
    ReplaceOwned(alertCallBack_, callBack);
}

bool AMozillaFeature::start(AApp* app) {
    return NS_SUCCEEDED(initEmbedding(app));
}

bool AMozillaFeature::stop() {
    shutdownEmbedding();
    return true;
}

AString AMozillaFeature::lookupGreHome() {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kGreKey, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
        return AString();
    // One byte beyond the value's room, so that a value without its NUL is still terminated.
    char buffer[kGreHomeBuffer + 1];
    DWORD type = 0, size = kGreHomeBuffer;
    LONG r = RegQueryValueExA(key, "GreHome", nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size);
    RegCloseKey(key);
    if (r != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ) || size > kGreHomeBuffer)
        return AString();
    buffer[size] = 0;
    return AString(buffer);
}

nsresult AMozillaFeature::initEmbedding(AApp* app) {
    AString folderName = lookupGreHome();
    std::string runtimeFolder = folderName.c_str();
    if (runtimeFolder.empty()) {
        KY_FileSpec spec;
        KY_NewFileSpec(&spec);
        if (KY_GetCurrentDir(&spec) == 0 && spec.text)
            runtimeFolder = spec.text;
        KY_FreeFileSpec(&spec);
    }
    nsPtr<nsILocalFile> folder;
    if (NS_FAILED(NS_NewNativeLocalFile(runtimeFolder, PR_TRUE, folder.receive()))) {
        WriteError("Did not create local file!");
        return NS_ERROR_FAILURE;
    }
    AString productFolderName = g_productFolderName ? g_productFolderName(app) : AString();
    nsPtr<AMozillaFileLocationProvider> provider(
        CheckAlloc(new (std::nothrow) AMozillaFileLocationProvider(productFolderName.c_str(), kSubFolderName),
                   __FILE__, __LINE__));
    if (NS_FAILED(NS_InitEmbedding(folder.get(), provider.get()))) {
        WriteError("InitEmbedding Failed!");
        return NS_ERROR_FAILURE;
    }
    registerComponents();
    if (g_windowCreatorMaker)
        g_windowCreator = g_windowCreatorMaker(this, 1);
    nsPtr<nsIWindowWatcher> watcher = GetServiceAs<nsIWindowWatcher>(NS_WINDOWWATCHER_CONTRACTID);
    if (!watcher) {
        WriteError("do_GetService(NS_WINDOWWATCHER_CONTRACTID) Failed!");
        return NS_ERROR_FAILURE;
    }
    if (NS_FAILED(watcher->SetWindowCreator(g_windowCreator.get()))) {
        WriteError("SetWindowCreator Failed!");
        return NS_ERROR_FAILURE;
    }
    nsIAppShell* shell = nullptr;
    if (NS_FAILED(NS_CreateInstance(NS_APPSHELL_CID, nsIAppShell::GetIID(), reinterpret_cast<void**>(&shell))) ||
        !shell) {
        WriteError("Failed to create appshell!");
        return NS_OK;
    }
    g_appShell = shell;  // the reference the creation gave
    g_appShell->Create(nullptr, nullptr);
    g_appShell->Spinup();
    g_embeddingStarted = true;
    return setUpProfile();
}

nsresult AMozillaFeature::registerComponents(const nsModuleComponentInfo* table, size_t count) {
    nsPtr<nsIComponentRegistrar> registrar;
    if (NS_FAILED(NS_GetComponentRegistrar(registrar.receive())) || !registrar)
        return NS_ERROR_FAILURE;
    nsresult r = NS_OK;
    for (size_t i = 0; i < count; ++i) {
        nsPtr<nsIFactory> factory;
        r = NS_NewGenericFactory(factory.receive(), &table[i]);
        if (NS_FAILED(r))
            continue;
        PRBool registered = PR_FALSE;
        registrar->IsCIDRegistered(table[i].cid, &registered);
        r = registrar->RegisterFactory(table[i].cid, table[i].description, table[i].contractID, factory.get());
    }
    return r;
}

nsresult AMozillaFeature::setUpProfile() {
    nsPtr<nsIProfile> profiles = GetServiceAs<nsIProfile>(NS_PROFILE_CONTRACTID);
    if (!profiles)
        return NS_ERROR_FAILURE;
    PRInt32 count = 0;
    nsresult r = profiles->GetProfileCount(&count);
    if (NS_FAILED(r))
        return r;
    if (count == 0) {
        r = profiles->CreateNewProfile(L"default", nullptr, nullptr, PR_FALSE);
        if (NS_SUCCEEDED(r))
            r = profiles->SetCurrentProfile(L"default");
    } else {
        PRUnichar* name = nullptr;
        r = profiles->GetCurrentProfile(&name);
        if (NS_SUCCEEDED(r))
            r = profiles->SetCurrentProfile(name);
        nsMemory::Free(name);
    }
    return NS_FAILED(r) ? NS_ERROR_FAILURE : NS_OK;
}

void AMozillaFeature::shutdownEmbedding() {
    if (!g_embeddingStarted)
        return;
    if (g_appShell) {
        g_appShell->Spindown();
        g_appShell->Release();
        g_appShell = nullptr;
    }
    nsPtr<nsIWindowWatcher> watcher = GetServiceAs<nsIWindowWatcher>(NS_WINDOWWATCHER_CONTRACTID);
    if (watcher)
        watcher->SetWindowCreator(nullptr);
    NS_TermEmbedding();
    // A later start in the same process starts from a clear state.
    g_embeddingStarted = false;
}
