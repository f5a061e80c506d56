// What the Flash panes ask of the application object: the map index and the
// link texts that name targets, the links base's records, the kind of a
// document, media documents and their window, and the centre dock that
// shows a document. The application object installs its own; without one
// (tests, a reader with no data) these answers find nothing.
//
// The panes do not own the services (gFlashServices is set by their owner).
#pragma once

#include <cstdint>

#include "base/object/AString.h"

class AppState;
class SVPane;

class AFlashServices {
public:
    virtual ~AFlashServices() = default;

    // The target text registered under a map name; empty when none.
    virtual AString getMapFsText(const char* name) {
        (void)name;
        return AString();
    }
    // The link text registered under a name; empty when none.
    virtual AString getLinkFsText(const char* name) {
        (void)name;
        return AString();
    }
    // Record n of the links base; empty when there is none.
    virtual AString getLinkRecord(long record) {
        (void)record;
        return AString();
    }
    virtual int16_t getDocKind(long docNo, int16_t defaultKind) {
        (void)docNo;
        return defaultKind;
    }
    virtual bool docIsMedia(long docNo) {
        (void)docNo;
        return false;
    }
    virtual void openMediaWindow(long docNo, int16_t first, int16_t second) { (void)docNo, (void)first, (void)second; }
    // Shows the document in the centre dock of the pane's frame; false when
    // there is no centre dock to do it.
    virtual bool showDocument(SVPane& pane, long docNo) {
        (void)pane, (void)docNo;
        return false;
    }
    // The state of the room tab that a room movie's page name stands for
    // (owned by the caller), null when the name is no room page.
    virtual AppState* makeRoomPageState(SVPane& pane, const char* page) {
        (void)pane, (void)page;
        return nullptr;
    }
};

// The services the Flash panes use: gFlashServices when set, else a shared base instance.
AFlashServices& FlashServices();
extern AFlashServices* gFlashServices;
