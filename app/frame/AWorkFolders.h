// The folders of a network installation's readers and of their saved works:
// which names may become folders, the copy of one file over another, and the
// swap that puts a newly written work in place of an old one.
//
// A work "W" of the reader's folder is saved in place, with a sibling that
// says the save is under way:
//   W existed:  "W" renamed ".W.old"; "W" made and written; ".W.old" renamed
//               ".W.del", then removed.
//   new work:   empty ".W.new" made; "W" made and written; ".W.new" removed.
// The single renames and the removal of an empty folder are the steps that
// cannot be seen half done, so a run ended at any point leaves, beside "W",
// either ".W.old" (the old work whole: "W" is unfinished), ".W.new" ("W" is
// unfinished and there was none) or ".W.del" (the save is done).
// RecoverWorkFolders puts each case right. Names beginning with "." are never
// listed as works, so the siblings never show as works.
//
// A save holds the folder's lock file ".worksave.lock" (open without sharing,
// deleted with its handle) from BeginWorkSave to its commit or roll-back:
// another reader of the same folder can then neither begin a save nor
// recover, so it never rolls back a save under way.
//
// Nothing here raises: failures are results.
#pragma once

#include "base/object/AFileSpec.h"
#include "base/object/AString.h"

#include <cstdint>

// A name that may become a folder of its own: not empty, not "." or "..",
// not beginning with ".", without '\\', '/', ':', '*', '?', '"', '<', '>',
// '|' or control bytes, not ending in a blank or a dot, not a device name
// (CON, PRN, AUX, NUL, COM1..COM9, LPT1..LPT9, with or without extension).
bool IsUsableFolderName(const char* name);

// Copies source over target through a temporary sibling of target, so that a
// failure leaves target as it was. True when copied.
bool CopyFileReplacing(const AFileSpec& source, const AFileSpec& target);

// Removes a folder and everything in it; true when it is gone (or was not there).
bool RemoveFolder(const AFileSpec& folder);

// Takes the lock (waiting about a second for another reader's save), sets the
// old work aside (or marks the new one) and makes the empty folder "name";
// false when it could not, with everything as it was.
bool BeginWorkSave(const AFileSpec& userDir, const char* name);
// The written work stays and the old one goes.
void CommitWorkSave(const AFileSpec& userDir, const char* name);
// The written work goes and the old one, if any, comes back.
void RollBackWorkSave(const AFileSpec& userDir, const char* name);
// Rolls back every save that a run left unfinished, removes finished leftovers;
// nothing while another process holds the lock.
void RecoverWorkFolders(const AFileSpec& userDir);

class AWindow;
// Turns the application's loop until the dialog sets the dialog result (the
// application's 16-bit modal answer: 1 refused, 2 accepted); a quit ends it
// as 1. Tests replace the turn with a step that answers the dialog.
uint16_t WaitForWorkDialog(AWindow* dialog);
using AWorkDialogStep = void (*)(AWindow* dialog);
AWorkDialogStep SetWorkDialogStep(AWorkDialogStep step);
