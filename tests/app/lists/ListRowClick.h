// A click of the left button on a row of a list pane, posted to the window
// under the row as the system delivers it, with the caller's message pump
// run after the press and after the release.
#pragma once

#include <functional>

class ADisplayComponent;
class ListPane;
struct APoint;

void ClickScreenPoint(const APoint& at, const std::function<void()>& pump);
void ClickListRow(ListPane* list, long row, const std::function<void()>& pump);
// A click at the middle of a drawn item (a button), where the user clicks it.
void ClickMiddle(ADisplayComponent* item, const std::function<void()>& pump);
