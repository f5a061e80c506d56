// Prints the cost of measuring and drawing 10,000 words of French text
// through AFont against plain GetTextExtentPoint32A and TextOutA on the same
// memory device context (one run; the ratio is what to watch).
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "bench/BenchSupport.h"
#include "framework/graphics/ADisplayLock.h"
#include "framework/graphics/ADisplaySite.h"
#include "framework/graphics/AFont.h"

namespace {

}  // namespace

int main() {
    const int kWordCount = 10000;
    std::vector<std::string> words = FrenchWords(kWordCount);
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, 800, 600);
    ReleaseDC(nullptr, screen);
    HGDIOBJ oldBitmap = SelectObject(dc, bitmap);

    BenchSite site;
    AFont font(AFontSpec("Arial,12,0"));
    ARegion all(ARect(0, 0, 800, 600));
    LARGE_INTEGER t0, t1, t2;
    long framework = 0;
    long plain = 0;
    {
        ADisplayLock lock(&site, dc, AGraphicDisplay::kOwnDevice, nullptr, &all);
        QueryPerformanceCounter(&t0);
        int x = 0;
        for (size_t i = 0; i < words.size(); ++i) {
            const std::string& w = words[i];
            framework += font.body()->measure(w.c_str(), static_cast<long>(w.size())).width;
            x += font.body()->drawText(APoint(x % 700, 20 + int(i % 30) * 18), w.c_str(), static_cast<long>(w.size()),
                                       0);
        }
        QueryPerformanceCounter(&t1);
    }
    HGDIOBJ oldFont = SelectObject(dc, font.getHFont());
    SetTextAlign(dc, TA_BASELINE);
    SetBkMode(dc, TRANSPARENT);
    int x = 0;
    for (size_t i = 0; i < words.size(); ++i) {
        const std::string& w = words[i];
        SIZE size;
        GetTextExtentPoint32A(dc, w.c_str(), static_cast<int>(w.size()), &size);
        plain += size.cx;
        GetTextExtentPoint32A(dc, w.c_str(), static_cast<int>(w.size()), &size);
        TextOutA(dc, x % 700, 20 + int(i % 30) * 18, w.c_str(), static_cast<int>(w.size()));
        x += size.cx;
    }
    QueryPerformanceCounter(&t2);
    SelectObject(dc, oldFont);

    double a = Seconds(t0, t1);
    double b = Seconds(t1, t2);
    printf("measure+draw %d French words: AFont %.1f ms, GDI %.1f ms, ratio %.2f (widths %ld vs %ld)\n", kWordCount,
           a * 1000, b * 1000, b > 0 ? a / b : 0.0, framework, plain);
    SelectObject(dc, oldBitmap);
    DeleteObject(bitmap);
    DeleteDC(dc);
    ADisplayContext::Shutdown();
    return 0;
}
