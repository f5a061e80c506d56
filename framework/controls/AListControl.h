// List controls: AListBox on a native list box, AComboBox on a native combo
// box, both filled from their string list when attached and reporting
// selection changes (notice 2) and activations (owner codes 1, 3, 9, 10).
//
// A control owns its native widget (through AControl) and its data strings.
// Item operations without a widget are assertions ("fcontrol").
#pragma once

#include "framework/controls/AControl.h"
#include "framework/controls/AListItems.h"

class AListControl : public AControl, public AListItems {
    SV_DECLARE_CLASS(AListControl)
public:
    // List flags in the item flags.
    enum : uint16_t { kSorted = 0x0010, kMultiple = 0x0020, kHorizontal = 0x0040, kEditable = 0x0040 };

    AListControl() = default;
    AListControl(AComponent* parent, int16_t id, const ASizeSpec& rule, uint16_t stringList, uint16_t listFlags);

    // Record: AControl's, string list u16, sorted u16, FFFF.
    void readFrom(AMemoryStream& stream) override;
    void detachItems() override;

    void selectItem(int16_t) override {}
    int16_t countItems() override { return 0; }
    int16_t selectedIndex() override { return 0; }
    int findItem(const char*, int16_t, int16_t) override { return 0; }
    AString getItemText(int16_t) override { return AString(); }
    int insertItem(const char*, int16_t) override { return 0; }
    int addItem(const char*) override { return 0; }

protected:
    // The widget's answer; asserts the widget (line).
    LRESULT send(UINT message, WPARAM wParam, LPARAM lParam, long line);
    bool inRange(int16_t index) { return index >= 0 && index < countItems(); }
};

class AListBox : public AListControl {
    SV_DECLARE_CLASS(AListBox)
public:
    using AListControl::AListControl;
    AListBox() = default;

    // Record: AListControl's, list flags u16 (0x20 multiple, 0x40 horizontal), FFFF.
    void readFrom(AMemoryStream& stream) override;
    void attachItems() override;
    ACommand* keyToCommand(AKeyEvent& event) override;

    int removeItem(int16_t index) override;
    void removeAll() override;
    // Posts notice 2 also when the item was already selected.
    void selectItem(int16_t index) override;
    int16_t countItems() override;
    int16_t selectedIndex() override;
    int findItem(const char* text, int16_t start, int16_t prefix) override;
    AString getItemText(int16_t index) override;
    int insertItem(const char* text, int16_t index) override;
    int addItem(const char* text) override;
};

class AComboBox : public AListControl {
    SV_DECLARE_CLASS(AComboBox)
public:
    AComboBox() = default;
    AComboBox(AComponent* parent, int16_t id, const ASizeSpec& rule, uint16_t stringList, uint16_t listFlags,
              const char* text)
        : AListControl(parent, id, rule, stringList, listFlags), text_(text ? text : "") {}

    // Record: AListControl's, text string, editable u16, FFFF.
    void readFrom(AMemoryStream& stream) override;
    void attachItems() override;
    ACommand* keyToCommand(AKeyEvent& event) override;

    int removeItem(int16_t index) override;
    void removeAll() override;
    // Nothing at all when the item is already selected.
    void selectItem(int16_t index) override;
    int16_t countItems() override;
    int16_t selectedIndex() override;
    int findItem(const char* text, int16_t start, int16_t prefix) override;
    AString getItemText(int16_t index) override;
    int insertItem(const char* text, int16_t index) override;
    int addItem(const char* text) override;
    void showDropDown(bool on);

private:
    AString text_;
};
