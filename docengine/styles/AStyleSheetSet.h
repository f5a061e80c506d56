// The style-sheet set: reads the style-sheet document "svstyles.xml" once,
// keeps one AStyleSheet per sheet number (one reference each), registers the
// document's images as named bitmaps, and hands sheets out by number.
//
// Bad data never stops the program: each bad entry is logged ("svstyles:
// ..." on the trace and in log()) and skipped; an XML syntax error prints
// "ERROR: %s (line %d, column %d)\n" on stderr and keeps the sheets read
// before it; a missing document gives empty sheets, which answer defaults.
#pragma once

#include <cstdint>

#include "base/object/AFileSpec.h"
#include "base/object/ALongDic.h"
#include "base/object/AString.h"
#include "docengine/styles/AStyleSheet.h"

// The application's named bitmaps, as the set registers images in them.
class ANamedBitmaps {
public:
    virtual ~ANamedBitmaps() = default;
    virtual bool hasBitmap(const AString& name) = 0;
    virtual void setBitmap(const AString& name, const ABitmapSpec& spec) = 0;
};

class AStyleSheetSet {
public:
    // bitmaps: not owned, may be null (images are then not registered).
    AStyleSheetSet(const AFileSpec& file, int16_t fontAdjust, ANamedBitmaps* bitmaps = nullptr);
    ~AStyleSheetSet();
    AStyleSheetSet(const AStyleSheetSet&) = delete;
    AStyleSheetSet& operator=(const AStyleSheetSet&) = delete;

    // Releases the sheets, then reads the document.
    void load(const AFileSpec& file, int16_t fontAdjust);
    // The sheet of a number (owned by the set), or null when the document
    // does not define it; a first miss reads the document once more.
    AStyleSheet* getSheet(long number);
    AFileSpec resourceFolder() const { return resources_; }
    static const char* tagName() { return "KyStyles"; }

    int16_t fontAdjust() const { return fontAdjust_; }
    long sheetCount() const { return sheets_.count(); }
    long loadCount() const { return loads_; }
    // Every problem reported since construction, one line each.
    const AString& log() const { return log_; }

    // Used by the document's element handlers.
    void report(const char* format, ...);
    void storeSheet(long number, AStyleSheet* sheet);
    void setResourceFolder(const char* path);
    void registerImage(const AString& name, const ABitmapSpec& spec);

private:
    void releaseSheets();

    AFileSpec file_;
    AFileSpec resources_;
    int16_t fontAdjust_;
    longa_pvoidAVLMap sheets_;  // number -> AStyleSheet (one reference) or null: undefined
    ANamedBitmaps* bitmaps_;    // not owned
    bool missing_;              // the document could not be read
    long loads_;
    AString log_;
};
