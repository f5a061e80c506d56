#include "tests/app/lists/ListRowClick.h"

#include <gtest/gtest.h>
#include <windows.h>

#include "app/lists/ListPane.h"
#include "docengine/render/AListRenderer.h"
#include "docengine/render/ARendererViews.h"

void ClickScreenPoint(const APoint& at, const std::function<void()>& pump) {
    POINT p = {at.x, at.y};
    HWND target = WindowFromPoint(p);
    ASSERT_TRUE(target);
    ScreenToClient(target, &p);
    SetCursorPos(at.x, at.y);
    PostMessageA(target, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(p.x, p.y));
    pump();
    PostMessageA(target, WM_LBUTTONUP, 0, MAKELPARAM(p.x, p.y));
    pump();
}

void ClickListRow(ListPane* list, long row, const std::function<void()>& pump) {
    auto* renderer = dynamic_cast<AListRenderer*>(list->getListView()->renderer());
    ASSERT_TRUE(renderer && renderer->model());
    renderer->layOut();
    ARect r = renderer->rowRect(row);
    ClickScreenPoint(list->getListView()->localToScreen(APoint(r.left() + 12, (r.top() + r.bottom()) / 2)), pump);
}

void ClickMiddle(ADisplayComponent* item, const std::function<void()>& pump) {
    ASSERT_TRUE(item);
    ClickScreenPoint(item->localToScreen(APoint(item->getSize().x / 2, item->getSize().y / 2)), pump);
}
