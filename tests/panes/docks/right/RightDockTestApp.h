// The right dock's application services for the tests: documents, records
// and links records from tables the tests fill, escaping as the reader's, and
// a log of the online links pages asked for.
#pragma once

#include <map>
#include <string>
#include <tuple>

#include "app/main/TheApp.h"
#include "panes/docks/right/ARightDockApp.h"

class RightDockTestApp : public ARightDockApp {
public:
    RightDockTestApp() { ARightDockApp::install(this); }
    ~RightDockTestApp() override { ARightDockApp::install(nullptr); }

    ADocRefInfo getDocRefInfo(long docNo) override {
        ADocRefInfo info(docNo, 13, 1);
        auto found = infos.find(docNo);
        info.parse(found == infos.end() ? "000000000000000\t0\t0\t-1\t-1" : found->second.c_str());
        return info;
    }
    AString getDocTitle(long docNo) override { return AString(("Titre " + std::to_string(docNo)).c_str()); }
    AString getDocExt(long docNo) override {
        auto found = exts.find(docNo);
        return AString(found == exts.end() ? "" : found->second.c_str());
    }
    AString getRecordText(int16_t base, int16_t table, long record) override {
        auto found = records.find(std::make_tuple(base, table, record));
        return AString(found == records.end() ? "" : found->second.c_str());
    }
    AString getLinkRecord(int16_t t, long r) override {
        (void)t;
        auto found = links.find(r);
        return AString(found == links.end() ? "" : found->second.c_str());
    }
    AString getMessage(const char* key) override {
        return AString(std::string(key) == "LINKNET_LIBEL" ? label.c_str() : "");
    }
    AString escapeMarkup(const char* text, const char* set) override { return TheApp::escapeMarkup(text, set); }
    void openLinkComplements(const char* reference) override { opened += std::string(reference) + ";"; }

    std::map<long, std::string> infos;
    std::map<long, std::string> exts;
    std::map<std::tuple<int16_t, int16_t, long>, std::string> records;
    std::map<long, std::string> links;
    std::string label = "Liens Internet";
    std::string opened;
};
