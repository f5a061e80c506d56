// What the caption of the media window asks of the window's pane: its
// navigation state. The media pane answers it; the caption finds it among
// its enclosing panes.
#pragma once

class AppState;

class AMediaStatePane {
public:
    virtual ~AMediaStatePane() = default;
    virtual AppState* mediaState() = 0;
};
