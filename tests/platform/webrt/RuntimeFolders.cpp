// Scratch folders for the runtime layer's tests.
#include "tests/platform/webrt/RuntimeFolders.h"

#include "platform/webrt/nsEmbedding.h"

#include <windows.h>


bool RuntimeFolders::appDataPresent = true;

namespace {

RuntimeFolders* g_current = nullptr;

bool TestSpecialFolder(const char* key, std::string& path) {
    if (!g_current)
        return false;
    if (std::string(key) == "AppData") {
        if (!RuntimeFolders::appDataPresent)
            return false;
        path = g_current->appData;
        return true;
    }
    path = g_current->windows;
    return true;
}

}  // namespace

RuntimeFolders::RuntimeFolders(bool withDefaults) {
    static int serial = 0;
    char temp[MAX_PATH];
    GetTempPathA(sizeof temp, temp);
    root = std::string(temp) + "webrt-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++serial);
    RemoveTree(root);
    runtime = root + "\\runtime";
    appData = root + "\\appdata";
    windows = root + "\\windows";
    for (const std::string& p : {root, runtime, appData, windows})
        CreateDirectoryA(p.c_str(), nullptr);
    if (withDefaults) {
        CreateDirectoryA((runtime + "\\defaults").c_str(), nullptr);
        CreateDirectoryA((runtime + "\\defaults\\pref").c_str(), nullptr);
        std::string source = std::string("Z:") + SV_WEBRT_DEFAULTS + "/pref/runtime.js";
        WriteAll(runtime + "\\defaults\\pref\\runtime.js", ReadAll(source));
    }
    appDataPresent = true;
    g_current = this;
    NS_SetSpecialFolderFunction(TestSpecialFolder);
}

RuntimeFolders::~RuntimeFolders() {
    NS_TermEmbedding();
    NS_SetSpecialFolderFunction(nullptr);
    g_current = nullptr;
    appDataPresent = true;
    RemoveTree(root);
}

nsresult RuntimeFolders::init(nsIDirectoryServiceProvider* provider) const {
    nsPtr<nsILocalFile> folder;
    nsresult r = NS_NewNativeLocalFile(runtime, PR_TRUE, folder.receive());
    return NS_FAILED(r) ? r : NS_InitEmbedding(folder.get(), provider);
}

nsresult TableProvider::GetFile(const char* key, PRBool* persistent, nsIFile** result) {
    *persistent = PR_TRUE;
    *result = nullptr;
    auto it = paths.find(key);
    if (it == paths.end())
        return NS_ERROR_FAILURE;
    nsPtr<nsILocalFile> file;
    nsresult r = NS_NewNativeLocalFile(it->second, PR_TRUE, file.receive());
    if (NS_SUCCEEDED(r))
        *result = file.forget();
    return r;
}
