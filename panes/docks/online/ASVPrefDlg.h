// The reader's preferences dialog ("Preferences", or "PreferencesClient" in a
// network installation, which has no online section). Every numeric choice
// goes into the preference manager at once; OK saves "sv.prf" and tells the
// listeners, Annuler first puts back the values of the opening. The online
// section shows the parental level (its word in its colour), opens the
// account wizard at step 3 or 6 and waits for it, and edits the proxy, which
// it also writes into the web engine's preferences with four log lines.
//
// The preference manager and the settings are not owned; the snapshot is.
// Missing stores, or a level item without a text style, are assertions
// ("SvPref"). A stored level outside 0..3 shows its number, uncoloured.
#pragma once

#include <cstdint>
#include <functional>

#include "base/object/AString.h"
#include "framework/app/AWindow.h"
#include "framework/files/AOptionsInfo.h"

class ANetInfo;
class APrefManager;

class ASVPrefDlg : public AWindow {
    SV_DECLARE_CLASS(ASVPrefDlg)
public:
    static constexpr const char* kLayoutName = "Preferences";
    static constexpr const char* kNetworkLayoutName = "PreferencesClient";
    static constexpr int16_t kId = 6000;  // both layouts' root

    ASVPrefDlg() = default;

    void setUpItems() override;
    void bindActions() override;
    ACommand* doCommand(int16_t id, long argument) override;
    int16_t commandStatus(int16_t id, long argument) override;
    // OK: saves the preferences, tells their listeners, result 2, closes.
    ACommand* closeWindow() override;
    // Annuler: the snapshot back into the manager, then closeWindow.
    ACommand* cancel() override;

    void setNetInfo(ANetInfo* settings) { settings_ = settings; }
    // Keeps the manager and a copy of its numbers.
    void setPrefManager(APrefManager* manager);
    void fillItems();
    void showFilterLevel();
    void updateProximityItems();
    void changeFilterLevel() { runWizard(3); }
    void changeParentalPassword() { runWizard(6); }
    void editProxy();
    void applyProxyPrefs();

    // The level's word ("Vert" to "Rouge"; the number itself outside 0..3)
    // and its colour (palette-relative; 0 outside 0..3, meaning none).
    static AString levelWord(long level);
    static uint32_t levelColour(long level);

    // One turn of the wizard's wait: the application's loop, or the tests' step.
    static void setWaitStep(std::function<void()> step);
    // Whether the dialog was built from the layout without the online section.
    bool isNetworkLayout() const { return network_; }
    const ALongDicInfo& snapshot() const { return snapshot_; }

private:
    bool isOnlineItem(int16_t id) const;
    void showPrefValue(int16_t item, long key);
    void setKey(long key, long value);
    // The popup's chosen entry into its text item, its number into key.
    void popupChosen(int16_t popup, int16_t textItem, long key, long argument);
    void runWizard(int16_t step);
    void refresh();
    long key(long k);

    APrefManager* prefs_ = nullptr;  // not owned
    ANetInfo* settings_ = nullptr;   // not owned
    ALongDicInfo snapshot_;
    bool network_ = false;
};
