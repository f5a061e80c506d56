// The main window's chain and "valid.ini" as the history manager sees them,
// for the tests, the killed saver and the benchmark.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "app/prefs/AHistoManager.h"
#include "app/state/AppState.h"

class ChainHost : public AHistoHost {
public:
    explicit ChainHost(const std::string& folder) : temp(folder.c_str()) {}
    int16_t stateCount() override { return static_cast<int16_t>(chain.size()); }
    AppState* oldestState() override { return chain.empty() ? nullptr : chain.front().get(); }
    void addState(AppState* state) override {
        if (!chain.empty())
            chain.back()->setNext(state);
        chain.emplace_back(state);
    }
    void setValidIniValue(const char* key, const char* value) override {
        valid += std::string(key) + "=" + value + ";";
    }
    AFileSpec tempFolder() override { return temp; }

    std::vector<std::unique_ptr<AppState>> chain;  // oldest first
    std::string valid;                             // "key=value;" as set
    AFileSpec temp;
};
