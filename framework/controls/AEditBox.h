// The edit box: a text field on a native EDIT control inset in the item's
// frame, single-line unless the frame holds two lines (or flag 0x40 asks),
// with an optional input filter; it sends Return to the dialog's default
// button and takes part in the clipboard commands (text format only). The
// mouse wheel over it goes to what lies under the pointer, never to the box.
//
// The box owns its filter and its native control. Pasted text is read only
// within its memory block and only what fits under the maximum length goes
// in. Attached hidden, it keeps its text and selection until its control is
// made. Selection calls of a box not attached, a paste of another format and
// a filter without a box are assertions ("fcontrol").
#pragma once

#include <memory>

#include "framework/controls/AControl.h"

class AEditBox;

// Decides which typed characters and which pasted or copied texts pass.
class AEditFilter {
public:
    // box: not owned, never null (assertion).
    explicit AEditFilter(AEditBox* box);
    virtual ~AEditFilter() = default;
    AEditFilter(const AEditFilter&) = delete;
    AEditFilter& operator=(const AEditFilter&) = delete;

    // Never asked of characters below 0x20.
    virtual bool acceptChar(uint16_t character) = 0;
    virtual AString filterPasted(const AString& text) { return text; }
    virtual AString filterCopied(const AString& text) { return text; }
    AEditBox* box() const { return box_; }

private:
    AEditBox* box_;  // not owned
};

class AEditBox : public AControl {
    SV_DECLARE_CLASS(AEditBox)
public:
    // Edit flags: the low bits of the item flags.
    enum : uint16_t {
        kPassword = 0x0004,
        kFocusOutline = 0x0008,
        kMultiLineInput = 0x0010,
        kAutoScroll = 0x0020,
        kAlwaysMultiLine = 0x0040,
        kPlainFrame = 0x0080,
    };

    AEditBox() { addItemFlags(kEditCommands); }
    AEditBox(AComponent* parent, int16_t id, const ASizeSpec& rule, uint16_t editFlags, const char* text);
    ~AEditBox() override;

    // Record: AControl's, edit flags u16, text string, FFFF.
    void readFrom(AMemoryStream& stream) override;
    void attachItems() override;
    void detachItems() override;
    // Without its control yet, the box holds its text and tells of a change
    // as a single-line control does when its text is set.
    void setText(const char* text) override;
    AString getText() override;
    void moveNativeWindow() override;
    void activeChanged(int16_t on) override;
    ACommand* keyToCommand(AKeyEvent& event) override;
    ACommand* charToCommand(AKeyEvent& event) override;
    ACommand* mouseDown(AMouseEvent& event) override;
    // The selection may have moved: change 2, then the default handling.
    ACommand* mouseUp(AMouseEvent& event) override;
    long drawContent(const ARect& rect) override;
    // With the focus outline (flag 0x08) the outer frame is 4 larger on every
    // side: the target's outline lies on its edge and, with the plain frame
    // (0x80), a thin one 1 outside the frame.
    ARect getOuterFrame() override;
    void drawBorder(const ARect& bounds, long a, long b) override;
    // The text that components ask of their parents stops here: empty.
    std::string description() override { return std::string(); }

    // Clipboard, text format (1) only.
    bool canCopy() override { return hasSelection(); }
    bool canClear() override { return hasSelection(); }
    bool canPasteFormat(uint32_t format) override { return format == CF_TEXT; }
    void* exportData(uint32_t format) override;
    ACommand* pasteData(uint32_t format, void* handle) override;
    ACommand* clear() override;
    void copyFormats(AFormatList& list) override { list.insert(list.begin(), CF_TEXT); }

    void getSelection(int32_t& start, int32_t& end);
    void setSelection(int32_t start, int32_t end);
    void selectAll();
    void replaceSelection(const char* text);
    AString selectedText();
    bool hasSelection();
    // In characters; applied to the control at once when there is one.
    void setMaxLength(int32_t length);
    int32_t maxLength() const { return maxLength_; }
    // Takes ownership; the filter it replaces is deleted.
    void setFilter(AEditFilter* filter);
    // The native rectangle inside frame for a line height: single-line boxes centred.
    static ARect editRect(const ARect& frame, int32_t lineHeight, bool alwaysMultiLine, bool* singleLine);

protected:
    void makeNativeControl(bool shown) override;

private:
    int32_t lineHeight();
    bool singleLine();

    AString text_;  // the layout's text, then the text while there is no control
    int32_t pendingLength_ = 0;  // text length at the last change without a control
    // The selection asked while there is no control, as the control keeps it
    // (the end is where the caret stands).
    int32_t pendingStart_ = 0;
    int32_t pendingEnd_ = 0;
    std::unique_ptr<AEditFilter> filter_;  // owned, or null
    int32_t maxLength_ = 0x400;
    uint16_t takeFocusOnClick_ = 0;
};
