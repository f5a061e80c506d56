// Starting and ending the runtime layer.
#include "platform/webrt/nsEmbedding.h"

#include "platform/webrt/nsRuntime.h"

namespace {

nsILocalFile* g_runtimeFolder = nullptr;               // one reference while running
nsIDirectoryServiceProvider* g_provider = nullptr;     // one reference while running

nsCID BuiltinCid(uint8_t n) {
    return nsCID{0x5e0b0280, 0x7a1c, 0x4d2e, {0x9b, 0x01, 0x3c, 0x44, 0x21, 0x6e, 0x28, n}};
}

void Forget() {
    webrt::StopComponents();
    if (g_provider)
        g_provider->Release();
    if (g_runtimeFolder)
        g_runtimeFolder->Release();
    g_provider = nullptr;
    g_runtimeFolder = nullptr;
}

}  // namespace

nsresult NS_InitEmbedding(nsILocalFile* runtimeFolder, nsIDirectoryServiceProvider* provider) {
    if (webrt::ComponentsRunning())
        return NS_ERROR_ALREADY_INITIALIZED;
    if (!runtimeFolder)
        return NS_ERROR_NULL_POINTER;
    webrt::StartComponents();
    runtimeFolder->AddRef();
    g_runtimeFolder = runtimeFolder;
    if (provider)
        provider->AddRef();
    g_provider = provider;
    webrt::RegisterBuiltin(BuiltinCid(1), NS_DIRECTORY_SERVICE_CONTRACTID, webrt::MakeDirectoryService);
    webrt::RegisterBuiltin(BuiltinCid(2), NS_OBSERVERSERVICE_CONTRACTID, webrt::MakeObserverService);
    webrt::RegisterBuiltin(BuiltinCid(3), NS_PREF_CONTRACTID, webrt::MakePrefService);
    webrt::RegisterBuiltin(BuiltinCid(4), NS_PROFILE_CONTRACTID, webrt::MakeProfileManager);
    webrt::RegisterBuiltin(BuiltinCid(5), NS_EVENTQUEUESERVICE_CONTRACTID, webrt::MakeEventQueueService);
    webrt::RegisterBuiltin(BuiltinCid(6), NS_WINDOWWATCHER_CONTRACTID, webrt::MakeWindowWatcher);
    webrt::RegisterBuiltin(NS_APPSHELL_CID, nullptr, webrt::MakeAppShell);
    nsresult r = webrt::LoadDefaultPrefs();
    if (NS_FAILED(r))
        Forget();
    return r;
}

nsresult NS_TermEmbedding() {
    Forget();
    return NS_OK;
}

namespace webrt {

nsILocalFile* RuntimeFolder() {
    return g_runtimeFolder;
}

nsIDirectoryServiceProvider* Provider() {
    return g_provider;
}

}  // namespace webrt
