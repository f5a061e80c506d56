// The reader's document printer: prints the current view, or only its
// selection, with the article's table of contents before it and the reader's
// notes after it as further passes, in the text size of the print options,
// its media sections open or closed as the options ask; draws a rule under
// the page header.
//
// Options and sources are not owned and must outlive the printer; a missing
// one is an assertion ("appclass"). Pages are numbered across passes; each
// pass's renderer is asked for its own pages from 0.
#pragma once

#include <cstdint>

#include "docengine/render/ARendererPrinter.h"
#include "panes/docks/print/APrintKeys.h"

class ALongDicInfo;
class APrintSources;
class AStyleSheet;

class ASVRendererPrinter : public ARendererPrinter {
public:
    ASVRendererPrinter(ALongDicInfo* options, APrintSources* sources) : options_(options), sources_(sources) {}

    // Installs what pass prints; 1 when it prints something, 0 when printing is over.
    virtual int16_t preparePass(int16_t pass, ARenderer* renderer);
    long prepare(const ARect& pageRect, ARenderer* renderer) override;
    bool hasMorePages() override;
    void printPage(const ARect& pageRect, long page, bool draw) override;
    void reset() override;
    void drawHeader(ARenderer* header) override;
    ARenderer* makePrintedRenderer(ARenderer* renderer) override;

    // The page header: slash-markup text on a text renderer of view, in sheet
    // (null: the view's renderer's sheet), with inline tables on "#"; none
    // when there is no sheet at all.
    void setHeaderText(const AString& text, ADisplayComponent* view, AStyleSheet* sheet);

    ALongDicInfo* options() const { return options_; }
    int16_t currentPass() const { return pass_; }

protected:
    // Installs the renderer of one printing action through setRenderer.
    virtual void install(PrintPass action, ARenderer* renderer);
    APrintSources* sources() const { return sources_; }

private:
    ARenderer* copyWithText(ARenderer* renderer, const AString& text, bool tables);

    ALongDicInfo* options_;   // not owned
    APrintSources* sources_;  // not owned
    ARenderer* given_ = nullptr;  // not owned: the view's renderer of this run
    int16_t pass_ = 0;
    long passFirstPage_ = 0;
    long lastPage_ = -1;
};

// Draws the header, then a black rule 3 units under it, clipped 4 units below.
void DrawHeaderWithRule(ARenderer* header);
// Gives the printer a page header of slash-markup text drawn with the sheet
// (the view's own when null; no header when neither has one).
void SetPrinterHeaderText(ARendererPrinter& printer, const AString& text, ADisplayComponent* view, AStyleSheet* sheet);
