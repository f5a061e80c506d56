// The help of a screen part, as the hover help of the application holds it,
// and what the application shows it through.
#pragma once

#include <cstdint>

#include "base/object/AString.h"
#include "framework/display/ADisplayComponent.h"

// The help of a screen part: its text, its area, and the item it belongs to.
struct AHelpRecord {
    AString text;
    ARect area;
    uint16_t valid = 0;  // 1 for a record made from data
    uint16_t kind = 0;
    AComponent* owner = nullptr;  // not owned; its nearest windowed display ancestor owns the tool

    // Records differ in area, text (bytes) or kind; the owner is not compared.
    bool operator==(const AHelpRecord& o) const { return area == o.area && text == o.text && kind == o.kind; }
    bool operator!=(const AHelpRecord& o) const { return !(*this == o); }
};

// What an item with hover help answers: its help at a point of its own
// coordinates (valid 0: none there).
class AHelpSource {
public:
    virtual ~AHelpSource() = default;
    virtual AHelpRecord getHelp(const APoint& local) = 0;
};

// What the application's hover help shows its tips through (the help box,
// which the application makes by class name): one tip at a time.
class AHelpTips {
public:
    virtual ~AHelpTips() = default;
    // point: in the application's coordinates. Nothing while a tip is shown.
    virtual void showTip(const APoint& point, const AHelpRecord& record) = 0;
    virtual void hideTip() = 0;
    virtual bool tipShown() const = 0;
};
