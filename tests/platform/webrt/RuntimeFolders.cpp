// Scratch folders for the runtime layer's tests.
#include "tests/platform/webrt/RuntimeFolders.h"

#include "platform/webrt/nsEmbedding.h"

#include <windows.h>

#include <cstdio>

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

void RemoveTree(const std::string& path) {
    WIN32_FIND_DATAA data;
    HANDLE h = FindFirstFileA((path + "\\*").c_str(), &data);
    if (h != INVALID_HANDLE_VALUE) {
        do {
            std::string name = data.cFileName;
            if (name == "." || name == "..")
                continue;
            std::string child = path + "\\" + name;
            if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveTree(child);
            else
                DeleteFileA(child.c_str());
        } while (FindNextFileA(h, &data));
        FindClose(h);
    }
    RemoveDirectoryA(path.c_str());
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
        WriteWholeFile(runtime + "\\defaults\\pref\\runtime.js", ReadWholeFile(source));
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

std::string ReadWholeFile(const std::string& path) {
    std::string text;
    if (FILE* f = std::fopen(path.c_str(), "rb")) {
        char block[4096];
        size_t n;
        while ((n = std::fread(block, 1, sizeof block, f)) > 0)
            text.append(block, n);
        std::fclose(f);
    }
    return text;
}

void WriteWholeFile(const std::string& path, const std::string& text) {
    if (FILE* f = std::fopen(path.c_str(), "wb")) {
        std::fwrite(text.data(), 1, text.size(), f);
        std::fclose(f);
    }
}

bool PathExists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}
