// The rows of the history popup: the permanent states of the main window's
// chain around the current one, newest at the top, each "key TAB icon TAB
// title". The key is the state's distance from the head of the chain, which
// names the same state while the popup is open (the chain does not change
// then).
//
// The states are not owned; the getter lives no longer than the popup that
// holds it. Titles come from the frame's services.
#pragma once

#include <cstdint>
#include <vector>

#include "app/lines/SortableLineGetter.h"

class AppState;

class ASVHistoLineGetter : public SortableLineGetter {
public:
    // head and current are states of one chain; null head is an assertion.
    // At most lines + 1 rows, the current state's row about the middle.
    ASVHistoLineGetter(AppState* head, AppState* current, long lines);

    long getLineCount() override { return static_cast<long>(states_.size()); }
    AString getRawLine(long record, long line) override;
    // The current state's row, 0 when it is not listed.
    long currentLine() const { return currentLine_; }
    // The state that a row key names, walking from head; null when none.
    static AppState* stateOfKey(AppState* head, const char* key);
    // The row text of one state under its key.
    static AString rowOf(AppState* state, long key);

private:
    std::vector<AppState*> states_;  // not owned
    std::vector<long> keys_;
    long currentLine_ = 0;
};
