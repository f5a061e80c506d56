// Prints what a renderer shows, page by page, through a detached copy made at
// the printable body, with an optional header and footer renderer above and
// below it. Pages are asked for in order; reset ends a run, so the next
// prepare starts from a fresh copy. Misuse is an assertion ("grender").
#pragma once

#include "docengine/render/ARenderer.h"

class ARendererPrinter {
public:
    ARendererPrinter() = default;
    virtual ~ARendererPrinter();
    ARendererPrinter(const ARendererPrinter&) = delete;
    ARendererPrinter& operator=(const ARendererPrinter&) = delete;

    virtual bool layoutHeader(const ARect& pageRect);
    virtual bool layoutFooter(const ARect& pageRect);
    virtual void setPageRect(const ARect& rect);
    virtual void reset();
    // The printed renderer's answer for the body; 0 without one.
    virtual long prepare(const ARect& pageRect, ARenderer* renderer);
    virtual void printPage(const ARect& pageRect, long page, bool draw);
    virtual bool hasMorePages();
    virtual bool acceptRenderer(bool flag, ARenderer* renderer);
    virtual ARect headerRect(const ARect& pageRect, ARenderer* header);
    virtual void drawHeader(ARenderer* header);
    virtual ARect footerRect(const ARect& pageRect, ARenderer* footer);
    // A detached copy at the body (the caller releases it).
    virtual ARenderer* makePrintedRenderer(ARenderer* renderer);
    virtual long nextPageKind(long page);

    void setRenderer(ARenderer* renderer);
    ARenderer* printedRenderer() const { return printed_; }
    void setHeader(ARenderer* renderer);
    void setFooter(ARenderer* renderer);
    ARect innerRect() const;
    const ARect& bodyRect() const { return body_; }
    long lastPrintedPage() const { return lastPage_; }

    long margins[4] = {0, 0, 0, 0};  // left, top, right, bottom
    bool selectionOnly = false;
    long userLong = 0;
    virtual long getUserLong() { return userLong; }
    void setUserLong(long value) { userLong = value; }

private:
    static void assign(ARenderer*& slot, ARenderer* value);

    ARenderer* header_ = nullptr;   // one reference held
    ARenderer* footer_ = nullptr;   // one reference held
    ARenderer* printed_ = nullptr;  // one reference held
    ARect page_;
    ARect body_;
    long lastPage_ = -1;
};
