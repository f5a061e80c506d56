// The pass table, the text size and the opener's keys.
#include "panes/docks/print/APrintKeys.h"

#include "base/procedural/AError.h"
#include "docengine/model/ALaidOutDocModel.h"
#include "docengine/styles/AStyleSheet.h"
#include "framework/files/AOptionsInfo.h"

PrintPass ChoosePrintPass(long selectionOnly, int16_t pass, long withContents, long withNotes) {
    if (pass < 0 || pass > 2)
        return PrintPass::kNothing;
    if (selectionOnly)
        return pass == 0 ? PrintPass::kSelection : PrintPass::kNothing;
    switch (pass) {
    case 0:
        return withContents ? PrintPass::kContents : PrintPass::kView;
    case 1:
        if (withContents)
            return PrintPass::kView;
        return withNotes ? PrintPass::kNotes : PrintPass::kNothing;
    default:
        return withContents && withNotes ? PrintPass::kNotes : PrintPass::kNothing;
    }
}

const char* PrintPassName(PrintPass pass) {
    switch (pass) {
    case PrintPass::kSelection:
        return "selection";
    case PrintPass::kContents:
        return "contents";
    case PrintPass::kView:
        return "view";
    case PrintPass::kNotes:
        return "notes";
    default:
        return "nothing";
    }
}

bool ApplyTextSize(AStyleSheet* sheet, long size) {
    if (!sheet || size < 0 || size > 2)
        return false;
    // addSizeDelta(0) restores the nominal sizes, so each choice starts from them.
    sheet->addSizeDelta(0);
    if (size != 1)
        sheet->addSizeDelta(static_cast<int16_t>(size == 0 ? -2 : 2));
    return true;
}

ADocModel* CopyWithMediaForm(ADocModel* model, long withMedia) {
    auto* shown = dynamic_cast<ALaidOutDocModel*>(model);
    if (!shown)
        return nullptr;
    ADocModel* own = CheckAlloc(shown->clone(), "appclass", 151);
    own->addRef();
    try {
        if (withMedia)
            own->expandAll(0);
        else
            own->collapseAll(0);
    } catch (...) {
        own->release();
        throw;
    }
    return own;
}

void WriteOpenerKeys(ALongDicInfo& options, bool hasSelection, bool hasContents, bool hasNotes, bool forExport) {
    options.setLong(PrintKey::kHasSelection, hasSelection ? 1 : 0);
    options.setLong(PrintKey::kHasContents, hasContents ? 1 : 0);
    if (forExport && !hasContents)
        options.setLong(PrintKey::kWithContents, 0);
    options.setLong(PrintKey::kHasNotes, hasNotes ? 1 : 0);
    if (forExport && !hasNotes)
        options.setLong(PrintKey::kWithNotes, 0);
}
