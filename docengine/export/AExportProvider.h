// Export providers: what an export writer exports (the root model with its
// style sheet, models before and after it, a trailer) and how link targets
// are written. ARendererExportProvider serves one model. Shared (ARefObj).
#pragma once

#include "base/object/ARefObj.h"
#include "base/object/AString.h"
#include "docengine/export/AExportContext.h"
#include "docengine/model/ADocModel.h"

class AExportProvider : public ARefObj {
public:
    virtual AExportCursor makeRootCursor() = 0;
    virtual AExportCursor epilogueCursor(long index, ADocRange range, const AExportCursor& cursor);
    virtual AExportCursor prologueCursor(long index, ADocRange range, const AExportCursor& cursor);
    // Models answered here are handed over (the caller releases them); null: none.
    virtual ADocModel* epilogueModel(long, ADocRange) { return nullptr; }
    virtual ADocModel* prologueModel(long, ADocRange) { return nullptr; }
    virtual AExportLink makeLink(const AString& target, uint16_t linkMode, const AString& prefix);
    virtual AString linkText(const AString& target, const AString& prefix);
    virtual AString formatTarget(const AString& target, const AString& prefix) { return linkText(target, prefix); }
    virtual bool wantsTrailer(ADocRange range, const AString&) { return range.end - range.start > 80; }
    // A new model over slash-markup text (the caller releases it); null for an empty text.
    virtual ADocModel* makeModel(const AString& text, const AString& title);
};

class ARendererExportProvider : public AExportProvider {
public:
    // Holds a reference on the model; the sheet is counted by the cursors.
    ARendererExportProvider(ADocModel* model, AStyleSheet* sheet, const AString& trailer, const AString& title);
    ~ARendererExportProvider() override;
    AExportCursor makeRootCursor() override;

private:
    ADocModel* model_;    // one reference held
    AStyleSheet* sheet_;  // not counted here
    AString trailer_;
    AString title_;
};
