// The numeric keys that the print and export sheets write into "print.prf"
// and "export.prf", and what the printers and the exporter make of them:
// the pass table, the text size, and the keys the openers write.
#pragma once

#include <cstdint>

class ADocModel;
class ALongDicInfo;
class AStyleSheet;

namespace PrintKey {
enum : long {
    kHasSelection = 1,
    kHasContents = 2,
    kHasNotes = 3,
    kSelectionOnly = 5,
    kWithContents = 6,
    kWithNotes = 7,
    kWithMedia = 8,
    kTextSize = 9,
    kMediaCaption = 10,
};
}

// What one print pass prints.
enum class PrintPass { kNothing, kSelection, kContents, kView, kNotes };

// The pass table: what pass number pass prints under keys 5, 6 and 7. The
// table of contents heads the text, the notes follow it.
PrintPass ChoosePrintPass(long selectionOnly, int16_t pass, long withContents, long withNotes);
const char* PrintPassName(PrintPass pass);

// Key 9 on a sheet: 0 small (-2), 1 normal (0), 2 large (+2); any other value
// leaves the sheet alone. Answers whether the sheet was changed.
bool ApplyTextSize(AStyleSheet* sheet, long size);

// Key 8 on a laid-out model: a copy, one reference held, with its media
// sections open (set) or closed (clear), so that the paper or the file gets
// them as asked while the screen keeps its own; null for any other model.
ADocModel* CopyWithMediaForm(ADocModel* model, long withMedia);

// The keys the main window writes before a print or export sheet opens:
// 1, 2 and 3 from what the article offers; for an export, 6 and 7 are also
// cleared when their partner key (2, 3) is 0, never set.
void WriteOpenerKeys(ALongDicInfo& options, bool hasSelection, bool hasContents, bool hasNotes, bool forExport);
