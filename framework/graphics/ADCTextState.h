// A device context's text settings for drawing one text: the colour, the
// background mode, the alignment and, when one is given, the font are put
// back as they were when the scope ends.
#pragma once

#include <windows.h>

class ADCTextState {
public:
    ADCTextState(HDC dc, COLORREF colour, int backgroundMode, UINT align)
        : dc_(dc),
          colour_(SetTextColor(dc, colour)),
          mode_(SetBkMode(dc, backgroundMode)),
          align_(SetTextAlign(dc, align)) {}
    ~ADCTextState() {
        SetTextAlign(dc_, align_);
        SetBkMode(dc_, mode_);
        SetTextColor(dc_, colour_);
        if (font_)
            SelectObject(dc_, font_);
    }
    ADCTextState(const ADCTextState&) = delete;
    ADCTextState& operator=(const ADCTextState&) = delete;

    // Selects the font until the scope ends; null selects nothing.
    void selectFont(HGDIOBJ font) {
        if (font && !font_)
            font_ = SelectObject(dc_, font);
    }

private:
    HDC dc_;
    COLORREF colour_;
    int mode_;
    UINT align_;
    HGDIOBJ font_ = nullptr;
};
