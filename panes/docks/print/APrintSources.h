// What the reader's printers and exporter ask of the main window and the note
// store: the article shown in the main window, the current document's notes
// and title. The frame's answers live in AFramePrintSources; tests give their own.
#pragma once

#include "base/object/AString.h"

class ARenderer;

class APrintSources {
public:
    virtual ~APrintSources() = default;
    // The renderer of the main window's article view, or null (not owned).
    virtual ARenderer* mainArticle() = 0;
    // The slash-markup text of the reader's notes on the current document; empty when none.
    virtual AString notesText() = 0;
    virtual AString docTitle() = 0;
};
