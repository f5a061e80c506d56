// What the dictionary window asks of the application object: the dictionary
// library's answers, its text renderers and selection menu, the data
// location of the word index, and the main window's forgetting it. The
// application installs its own while it lives; without one the window has no
// library (an assertion when it asks one).
//
// Not owned by the window.
#pragma once

#include <cstdint>

#include "base/object/AString.h"

class AComponent;
class ADataLocation;
class ARendererView;
class ASelContextMenuCallBack;
class ATextRenderer;

class ADicoHost {
public:
    virtual ~ADicoHost() = default;

    // The installed one, or null.
    static ADicoHost* current();
    // Null takes it away.
    static void install(ADicoHost* host);

    // Asks the library for a word: 0, or its negative code (the library said why).
    virtual int16_t ask(const char* word) = 0;
    // The entry markup of the last successful answer (empty before any).
    virtual AString getDefinition() = 0;
    // The application's text renderer on a style sheet, installed in the view.
    virtual ATextRenderer* createTextRenderer(ARendererView* view, long sheet) = 0;
    virtual ASelContextMenuCallBack* selContextMenu() = 0;
    // Where the word index is opened; null without an installation.
    virtual ADataLocation* dataLocation() = 0;
    // The window closes: the main window must forget it.
    virtual void forgetWindow(AComponent* window) = 0;
};
