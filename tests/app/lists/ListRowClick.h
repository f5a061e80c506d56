// A click of the left button on a row of a list pane, posted to the window
// under the row as the system delivers it, with the caller's message pump
// run after the press and after the release.
#pragma once

#include <functional>

class ListPane;

void ClickListRow(ListPane* list, long row, const std::function<void()>& pump);
