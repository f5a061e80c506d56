// A stand-in for the application in the online tests: settings in a scratch
// folder, configuration from a table, and a record of what the reader is told.
#pragma once

#include <map>
#include <memory>
#include <string>

#include "app/online/ANetInfo.h"
#include "app/online/AOnlineHost.h"

class OnlineTestHost : public AOnlineHost {
public:
    ANetInfo* netInfo() override { return info.get(); }
    AString configString(const char* key) override {
        auto found = config.find(key);
        return AString(found == config.end() ? "" : found->second.c_str());
    }
    bool hasNetManager() override { return true; }
    bool webPaneUnderPointer() override { return underPointer; }
    bool checkConnection(const char* url) override {
        checked += std::string(url ? url : "(none)") + ";";
        return connectionAllowed;
    }
    AFileSpec tempFolder() override { return temp; }
    long maxNetResults() override { return maxResults; }
    void alert(const char* text, const char* title) override { alerts += std::string(title) + ":" + text + ";"; }
    bool hasMainWindow() override { return mainWindow; }
    bool hasCurrentState() override { return currentState; }
    long currentUserInfo(long key) override { return userInfo[key]; }
    void showWebPage(const char* address, int16_t full, int16_t second) override {
        shown += std::string(address) + "," + std::to_string(full) + "," + std::to_string(second) + ";";
    }

    std::unique_ptr<ANetInfo> info;
    std::map<std::string, std::string> config;
    std::map<long, long> userInfo;
    AFileSpec temp;
    std::string checked, alerts, shown;
    bool underPointer = false, connectionAllowed = true, mainWindow = true, currentState = true;
    long maxResults = 50;
};
