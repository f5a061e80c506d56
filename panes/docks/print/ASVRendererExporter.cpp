// The reader's export provider.
#include "panes/docks/print/ASVRendererExporter.h"

#include "base/procedural/AError.h"
#include "docengine/styles/AStyleSheet.h"
#include "framework/files/AOptionsInfo.h"
#include "panes/docks/print/APrintKeys.h"
#include "panes/docks/print/APrintSources.h"

void ASVRendererExporter::checkOptions() const {
    if (!options_ || !sources_)
        ThrowAssert("appclass", 300);
}

AExportCursor ASVRendererExporter::makeRootCursor() {
    checkOptions();
    AExportCursor cursor = AViewExportProvider::makeRootCursor();
    if (options_->getLong(PrintKey::kSelectionOnly))
        return cursor;
    // A model of the export's own: the media sections open or close for the
    // file, not on screen.
    if (ADocModel* own = CopyWithMediaForm(cursor.model(), options_->getLong(PrintKey::kWithMedia))) {
        cursor.setModel(own);
        own->release();
    }
    if (AStyleSheet* sheet = cursor.styleSheet()) {
        auto* sized = CheckAlloc(new AStyleSheet(*sheet), "appclass", 310);
        sized->addRef();
        if (ApplyTextSize(sized, options_->getLong(PrintKey::kTextSize)))
            cursor.setStyleSheet(sized);
        sized->release();
    }
    cursor.noteMarkers = static_cast<uint16_t>(options_->getLong(PrintKey::kWithNotes) ? 1 : 0);
    return cursor;
}

AExportCursor ASVRendererExporter::prologueCursor(long index, ADocRange range, const AExportCursor& cursor) {
    if (!partSheet_)
        ThrowAssert("appclass", 320);
    AExportCursor part(cursor);
    ADocModel* model = prologueModel(index, range);
    part.setModel(model);
    if (model)
        model->release();  // the cursor holds it now
    part.setStyleSheet(partSheet_);
    return part;
}

ADocModel* ASVRendererExporter::prologueModel(long index, ADocRange) {
    checkOptions();
    if (index == 0)
        return makeModel(sources_->docTitle(), AString());
    if (index == 1 && !options_->getLong(PrintKey::kSelectionOnly) && options_->getLong(PrintKey::kWithContents)) {
        AString contents = sources_->contentsText();
        if (!contents.empty())
            return makeModel(contents, AString());
    }
    return nullptr;
}

ADocModel* ASVRendererExporter::epilogueModel(long index, ADocRange) {
    checkOptions();
    if (index == 0 && !options_->getLong(PrintKey::kSelectionOnly) && options_->getLong(PrintKey::kWithNotes))
        return makeModel(sources_->notesText(), AString());
    return nullptr;
}
