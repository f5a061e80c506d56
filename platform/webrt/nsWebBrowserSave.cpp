// The web browser's saving and printing: saves the page with copies of its
// pictures, and prints its text through the program's page printer.
#include "platform/webrt/nsWebBrowserImpl.h"

#include <cstring>

namespace webrt {

namespace {

NS_PagePrinter g_pagePrinter = nullptr;

class PrintSettings : public nsSupportsImpl<nsIPrintSettings> {
public:
    nsresult GetPrinterName(char** result) override {
        if (!result)
            return NS_ERROR_NULL_POINTER;
        *result = ToNewCString(name_);
        return NS_OK;
    }
    nsresult SetPrinterName(const char* name) override {
        name_ = name ? name : "";
        return NS_OK;
    }

private:
    std::string name_;
};

std::string FileNameOf(const std::string& url) {
    std::string path = url.substr(0, url.find_first_of("?#"));
    size_t slash = path.find_last_of('/');
    std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    std::string clean;
    for (char c : name)
        clean.push_back(std::strchr("\\/:*?\"<>|", c) || static_cast<unsigned char>(c) < 32 ? '_' : c);
    return clean.empty() ? std::string("file") : clean;
}

}  // namespace

nsresult WebBrowser::GetPersistFlags(PRUint32* result) {
    if (!result)
        return NS_ERROR_NULL_POINTER;
    *result = persistFlags_;
    return NS_OK;
}

nsresult WebBrowser::SetPersistFlags(PRUint32 flags) {
    persistFlags_ = flags;
    return NS_OK;
}

nsresult WebBrowser::SaveDocument(nsISupports*, nsIFile* file, nsIFile* dataFolder, const char*, PRUint32,
                                  PRUint32) {
    if (!file)
        return NS_ERROR_NULL_POINTER;
    if (currentUrl_.empty())
        return NS_ERROR_NOT_AVAILABLE;
    std::string path;
    file->GetNativePath(path);
    bool replace = (persistFlags_ & PERSIST_FLAGS_REPLACE_EXISTING_FILES) != 0;
    if (!replace && FileExists(path))
        return NS_ERROR_FILE_ALREADY_EXISTS;
    std::string page = source_;
    if (dataFolder) {
        std::string folder;
        dataFolder->GetNativePath(folder);
        PRBool exists = PR_FALSE;
        dataFolder->Exists(&exists);
        if (!exists) {
            nsresult r = dataFolder->Create(nsIFile::DIRECTORY_TYPE, 0755);
            if (NS_FAILED(r))
                return r;
        }
        std::string folderName = folder.substr(folder.find_last_of("\\/") + 1);
        std::map<std::string, std::string> savedAs;  // src as written -> name in the folder
        std::map<std::string, int> taken;
        for (const FetchedResource& r : resources_) {
            if (!r.fetched || savedAs.count(r.src))
                continue;
            std::string name = FileNameOf(r.url);
            if (taken[name]++ > 0) {
                size_t dot = name.find_last_of('.');
                name = name.substr(0, dot) + "_" + std::to_string(taken[name]) +
                       (dot == std::string::npos ? std::string() : name.substr(dot));
            }
            std::string target = folder + "\\" + name;
            if (!replace && FileExists(target))
                return NS_ERROR_FILE_ALREADY_EXISTS;
            nsresult w = SaveTextFile(target, r.bytes);
            if (NS_FAILED(w))
                return w;
            savedAs[r.src] = folderName + "/" + name;
        }
        // The page refers to the saved copies: each quoted reference is replaced.
        for (const auto& entry : savedAs)
            for (char quote : {'"', '\''}) {
                std::string from = quote + entry.first + quote;
                std::string to = quote + entry.second + quote;
                for (size_t at = page.find(from); at != std::string::npos; at = page.find(from, at + to.size()))
                    page.replace(at, from.size(), to);
            }
    }
    return SaveTextFile(path, page);
}

nsresult WebBrowser::GetGlobalPrintSettings(nsIPrintSettings** result) {
    if (!result)
        return NS_ERROR_NULL_POINTER;
    if (!printSettings_)
        printSettings_ = new PrintSettings;
    *result = printSettings_.get();
    (*result)->AddRef();
    return NS_OK;
}

nsresult WebBrowser::Print(nsIPrintSettings* settings, nsIWebProgressListener* listener) {
    nsPtr<nsIWebProgressListener> keep(listener);
    if (listener)
        listener->OnStateChange(this, nullptr,
                                nsIWebProgressListener::STATE_START | nsIWebProgressListener::STATE_IS_DOCUMENT,
                                NS_OK);
    std::vector<std::string> paragraphs;
    for (size_t p = 0; p < document_.paragraphs.size(); ++p)
        paragraphs.push_back(NS_LossyConvertUTF16toNative(document_.paragraphText(p)));
    bool printed = g_pagePrinter && g_pagePrinter(settings, NS_LossyConvertUTF16toNative(document_.title), paragraphs);
    if (listener)
        listener->OnStateChange(this, nullptr,
                                nsIWebProgressListener::STATE_STOP | nsIWebProgressListener::STATE_IS_DOCUMENT,
                                printed ? NS_OK : NS_ERROR_FAILURE);
    return printed ? NS_OK : NS_ERROR_FAILURE;
}

nsresult WebBrowser::PrintPreview(nsIPrintSettings*, nsIDOMWindow*) {
    printPreview_ = true;
    return NS_OK;
}

nsresult WebBrowser::ExitPrintPreview() {
    printPreview_ = false;
    return NS_OK;
}

nsresult WebBrowser::GetDoingPrintPreview(PRBool* result) {
    if (!result)
        return NS_ERROR_NULL_POINTER;
    *result = printPreview_;
    return NS_OK;
}

}  // namespace webrt

void NS_SetPagePrinter(NS_PagePrinter printer) {
    webrt::g_pagePrinter = printer;
}
