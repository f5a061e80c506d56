// The record a long task holds to show its progress: a progress dialog for
// totals above the threshold, else the animated wait cursor (cursors 257 to
// 263); it runs one turn of the message loop at each step and tells the task
// when the reader pressed "Annuler".
//
// Owns its dialog and its wait cursor. The fields are set by the record's
// maker; no total of 0 or less reaches the bar.
#pragma once

#include <cstdint>

#include "base/object/AString.h"

class AOwnerCursorGuard;
class AProgressDialog;

class AProgressInfo {
public:
    AProgressInfo() = default;
    virtual ~AProgressInfo();
    AProgressInfo(const AProgressInfo&) = delete;
    AProgressInfo& operator=(const AProgressInfo&) = delete;

    // Mode 1 shows text1, any other mode textOther.
    void start(int16_t mode, long total);
    void update(long n);
    void finish();

    AProgressDialog* dialog() const { return dialog_; }
    AOwnerCursorGuard* waitCursor() const { return cursor_; }

    int16_t cancelled = 0;
    int16_t dialogWidth = 300;
    AString title;
    AString text1;
    AString textOther;
    long total = 0;
    long threshold = 0;
    int16_t showCount = 0;

protected:
    // One turn of the application's loop, taken only when a message waits:
    // the task never blocks in it. Tests replace it.
    virtual void runLoopTurn();

private:
    AProgressDialog* dialog_ = nullptr;    // owned, or null
    AOwnerCursorGuard* cursor_ = nullptr;  // owned, or null
};
