// What the reader's printers and exporter ask of the main window and the note
// store: the table of contents of the article shown, the current document's
// notes and title. The frame's answers live in ASVFramePrinting; tests give their own.
#pragma once

#include "base/object/AString.h"

class APrintSources {
public:
    virtual ~APrintSources() = default;
    // The table of contents of the main window's article, one heading a line; empty when none.
    virtual AString contentsText() = 0;
    // The slash-markup text of the reader's notes on the current document; empty when none.
    virtual AString notesText() = 0;
    virtual AString docTitle() = 0;
};
