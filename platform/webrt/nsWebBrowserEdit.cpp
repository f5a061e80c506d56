// The web browser's find and clipboard: finds a text in the page, selects
// all of it, and cuts, copies and pastes in the page's fields.
#include "platform/webrt/nsWebBrowserImpl.h"

#include <cstring>
#include <cwctype>

namespace webrt {

namespace {

// A find option's setter.
nsresult SetOption(bool& option, PRBool on) {
    option = on != 0;
    return NS_OK;
}

// Whether a text field has selected characters.
bool FieldHasSelection(HWND field) {
    DWORD from = 0, to = 0;
    SendMessageW(field, EM_GETSEL, reinterpret_cast<WPARAM>(&from), reinterpret_cast<LPARAM>(&to));
    return to > from;
}

// An edit message (cut, copy, paste) for a text field; fails for anything else.
nsresult SendToField(HWND field, UINT message) {
    if (!field || !IsTextField(field))
        return NS_ERROR_FAILURE;
    SendMessageW(field, message, 0, 0);
    return NS_OK;
}

// Answers a question of the edit commands.
nsresult Answer(PRBool* result, bool yes) {
    if (!result)
        return NS_ERROR_NULL_POINTER;
    *result = yes ? PR_TRUE : PR_FALSE;
    return NS_OK;
}

}  // namespace

HWND WebBrowser::focusedTextField() const {
    HWND field = focusedField();
    return field && IsTextField(field) ? field : nullptr;
}

nsresult WebBrowser::SetSearchString(const PRUnichar* text) {
    findText_ = text ? text : L"";
    return NS_OK;
}
nsresult WebBrowser::SetMatchCase(PRBool on) {
    return SetOption(matchCase_, on);
}
nsresult WebBrowser::SetEntireWord(PRBool on) {
    return SetOption(entireWord_, on);
}
nsresult WebBrowser::SetWrapFind(PRBool on) {
    return SetOption(wrapFind_, on);
}
nsresult WebBrowser::SetFindBackwards(PRBool on) {
    return SetOption(findBackwards_, on);
}

nsresult WebBrowser::FindNext(PRBool* found) {
    if (!found)
        return NS_ERROR_NULL_POINTER;
    *found = PR_FALSE;
    if (findText_.empty())
        return NS_OK;
    auto fold = [&](std::wstring s) {
        if (!matchCase_)
            for (wchar_t& c : s)
                c = towlower(c);
        return s;
    };
    std::wstring needle = fold(findText_);
    // Every match in document order, then the first after (or before) the selection.
    struct Match {
        size_t paragraph, offset;
    };
    std::vector<Match> matches;
    for (size_t p = 0; p < document_.paragraphs.size(); ++p) {
        std::wstring text = fold(document_.paragraphText(p));
        for (size_t at = text.find(needle); at != std::wstring::npos; at = text.find(needle, at + 1)) {
            bool word = true;
            if (entireWord_) {
                bool before = at > 0 && iswalnum(text[at - 1]);
                size_t end = at + needle.size();
                bool after = end < text.size() && iswalnum(text[end]);
                word = !before && !after;
            }
            if (word)
                matches.push_back(Match{p, at});
        }
    }
    if (matches.empty())
        return NS_OK;
    auto less = [](size_t p1, size_t o1, size_t p2, size_t o2) { return p1 < p2 || (p1 == p2 && o1 < o2); };
    const Match* chosen = nullptr;
    if (!findBackwards_) {
        for (const Match& m : matches)
            if (!hasSelection_ || less(selParagraph_, selOffset_, m.paragraph, m.offset)) {
                chosen = &m;
                break;
            }
        if (!chosen && (wrapFind_ || !hasSelection_))
            chosen = &matches.front();
    } else {
        for (auto it = matches.rbegin(); it != matches.rend(); ++it)
            if (!hasSelection_ || less(it->paragraph, it->offset, selParagraph_, selOffset_)) {
                chosen = &*it;
                break;
            }
        if (!chosen && (wrapFind_ || !hasSelection_))
            chosen = &matches.back();
    }
    if (!chosen)
        return NS_OK;
    hasSelection_ = true;
    selectAll_ = false;
    selParagraph_ = chosen->paragraph;
    selOffset_ = chosen->offset;
    selLength_ = needle.size();
    scrollToParagraph(selParagraph_);
    repaint();
    *found = PR_TRUE;
    return NS_OK;
}

// Cut and paste act on the page's text field that has the focus; the page's own text is read-only.
nsresult WebBrowser::CanCutSelection(PRBool* result) {
    HWND field = focusedTextField();
    return Answer(result, field && FieldHasSelection(field));
}

nsresult WebBrowser::CanCopySelection(PRBool* result) {
    HWND field = focusedTextField();
    return Answer(result, field ? FieldHasSelection(field) : hasSelection_ || selectAll_);
}

nsresult WebBrowser::CanPaste(PRBool* result) {
    return Answer(result, focusedTextField() && IsClipboardFormatAvailable(CF_UNICODETEXT));
}

nsresult WebBrowser::CutSelection() {
    return SendToField(focusedField(), WM_CUT);
}

nsresult WebBrowser::Paste() {
    return SendToField(focusedField(), WM_PASTE);
}

nsresult WebBrowser::SelectAll() {
    selectAll_ = !document_.paragraphs.empty();
    hasSelection_ = false;
    repaint();
    return NS_OK;
}

nsresult WebBrowser::CopySelection() {
    if (NS_SUCCEEDED(SendToField(focusedField(), WM_COPY)))
        return NS_OK;
    std::wstring text;
    if (selectAll_) {
        for (size_t p = 0; p < document_.paragraphs.size(); ++p)
            text += document_.paragraphText(p) + L"\r\n";
    } else if (hasSelection_) {
        text = document_.paragraphText(selParagraph_).substr(selOffset_, selLength_);
    } else {
        return NS_ERROR_FAILURE;
    }
    if (!OpenClipboard(hwnd_))
        return NS_ERROR_FAILURE;
    EmptyClipboard();
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(wchar_t));
    if (block) {
        void* p = GlobalLock(block);
        std::memcpy(p, text.c_str(), (text.size() + 1) * sizeof(wchar_t));
        GlobalUnlock(block);
        if (!SetClipboardData(CF_UNICODETEXT, block))
            GlobalFree(block);
    }
    CloseClipboard();
    return NS_OK;
}

}  // namespace webrt
