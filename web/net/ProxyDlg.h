// The proxy dialog (layout "Proxy", registered as "ProxyDlg"): edits the host
// (4101) and port (4102) of an AProxyInfo. "Supprimer" (4103) empties both
// fields, 4105 (when the layout has it) fills them from default settings;
// OK (1) stores them, forgetting the credentials when either changed, cancel
// (2) stores nothing. Both set the application's dialog result and close.
//
// The settings and the defaults are not owned. OK without settings is an
// assertion ("wnet").
#pragma once

#include <cstdint>

#include "framework/app/AWindow.h"

class AProxyInfo;

class ProxyDlg : public AWindow {
    SV_DECLARE_CLASS(ProxyDlg)
public:
    enum : int16_t { kHostItem = 4101, kPortItem = 4102, kClearItem = 4103, kNoteItem = 4104, kDefaultsItem = 4105 };

    ProxyDlg() = default;
    ~ProxyDlg() override = default;

    // Record: AWindow's, FFFF.
    void readFrom(AMemoryStream& stream) override;
    void setUpItems() override;
    void bindActions() override;
    void linkChanged(AComponent* source, const AKindSet& kinds) override;
    ACommand* doCommand(int16_t id, long argument) override;
    int16_t commandStatus(int16_t id, long argument) override;

    // The fields take the settings' host and port.
    void bind(AProxyInfo* info);
    void setNote(const char* note);
    void setDefaults(const AProxyInfo* defaults) { defaults_ = defaults; }
    // Asks the items' bindings for their states again.
    void refreshStates();

private:
    AProxyInfo* info_ = nullptr;            // not owned
    const AProxyInfo* defaults_ = nullptr;  // not owned
};
