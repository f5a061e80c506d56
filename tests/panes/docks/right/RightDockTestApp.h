// The right dock's application services for the tests: documents, records
// and links records from tables the tests fill, escaping as the reader's, and
// a log of the online links pages asked for; and a real click on a list row.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <map>
#include <string>
#include <tuple>

#include "app/lists/LRExtPane.h"
#include "reader/TheApp.h"
#include "docengine/render/AListRenderer.h"
#include "docengine/render/ARendererViews.h"
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

inline void PumpMessages() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

// A real click on row `row` of the list.
inline void Click(LRExtPane* pane, long row, int16_t x) {
    auto* list = dynamic_cast<AListRenderer*>(pane->getListView()->renderer());
    if (!list || !list->model()) {
        ADD_FAILURE() << "no rows";
        return;
    }
    list->layOut();
    ARect r = list->rowRect(row);
    ADisplayComponent* view = pane->getListView();
    APoint local(r.left() + x, (r.top() + r.bottom()) / 2);
    APoint at = view->localToScreen(local);
    // The window that holds the list, in its client coordinates: neither what
    // lies on top of that screen point nor where the window manager put the
    // window decides which component takes the press.
    HWND target = view->enclosingWindow();
    if (!target) {
        ADD_FAILURE() << "no window holds the list";
        return;
    }
    APoint client = local + view->windowPosition();
    POINT p = {client.x, client.y};
    SetCursorPos(at.x, at.y);
    PostMessageA(target, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(p.x, p.y));
    PumpMessages();
    PostMessageA(target, WM_LBUTTONUP, 0, MAKELPARAM(p.x, p.y));
    PumpMessages();
}
