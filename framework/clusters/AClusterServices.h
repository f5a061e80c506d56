// What cluster items need of the application object: its style bits for
// hover help and native static items, named images, the system font, the
// cursor, the frame window and the application's own tool bar.
//
// One instance is current: the one the application installs (not owned),
// else a default kept here that answers as if there were no application.
#pragma once

#include <windows.h>

#include <cstdint>

class AComponent;
class AFont;
class AImage;
class AString;

class AClusterServices {
public:
    AClusterServices() = default;
    virtual ~AClusterServices();
    AClusterServices(const AClusterServices&) = delete;
    AClusterServices& operator=(const AClusterServices&) = delete;

    static AClusterServices& current();
    // Makes services current (not owned); null restores the default.
    static void install(AClusterServices* services);

    // Clusters numbered from 1000 load the help texts of their items.
    virtual bool helpBoxes() { return false; }
    // Static texts and group boxes become native controls.
    virtual bool nativeStatics() { return false; }
    // Adornments become native bordered shades.
    virtual bool nativeAdornments() { return false; }
    // The image filed under name (not owned), or null; never makes one.
    virtual AImage* findImage(const AString& name) {
        (void)name;
        return nullptr;
    }
    // The font of items without one (not owned), or null.
    virtual AFont* systemFont() { return nullptr; }
    virtual void setCursor(int16_t id) { (void)id; }
    virtual HWND frameWindow() { return nullptr; }
    // True when bar is the application's own tool bar, which its update then hides.
    virtual bool hideAppToolBar(AComponent* bar) {
        (void)bar;
        return false;
    }
};
