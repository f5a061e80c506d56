// Prints the engine's headline figure: opening a 100 KB French article,
// building its model, laying out and drawing the first screen of an 800 x 600
// view, against the system's rich edit control loading the same article as
// RTF and painting it; then a full relayout after a width change and a scroll
// by one page. Twenty runs each; the ratio is what to watch. Then the whole
// article: laid out page by page down to its end without drawing (as a jump to
// its end, a move between far hits or printing needs), against the control
// loading it and wrapping all of it. The control needs windows: run it under
// xvfb-run.
#include <richedit.h>
#include <windows.h>

#include <cstdio>
#include <string>

#include "bench/BenchSupport.h"
#include "bench/RtfStream.h"
#include "docengine/lines/ALineRenderer.h"
#include "docengine/lines/ARunDisplay.h"
#include "docengine/model/AIndexedDocModel.h"
#include "docengine/styles/AStyleSheet.h"
#include "framework/graphics/ADisplayLock.h"
#include "tests/docengine/model/ModelTestSupport.h"

namespace {

const int kRuns = 20;

// About 100 KB of Windows-1252 French prose, one paragraph a line.
std::string FrenchArticle() {
    std::vector<std::string> words = FrenchWords(16000);
    std::string text;
    for (size_t i = 0; i < words.size() && text.size() < 100 * 1024; ++i)
        text += words[i] + (i % 120 == 119 ? ".\n" : i % 7 == 6 ? ", " : " ");
    return text + ".\n";
}

}  // namespace

int main() {
    std::string article = FrenchArticle();
    std::string rtf = ToRtf(article);
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, 800, 600);
    HGDIOBJ old = SelectObject(dc, bitmap);
    BenchSite site;
    AGdiRunDisplay display;
    AStyleSheet* sheet = new AStyleSheet();
    sheet->addRef();
    sheet->setFont(0, AFontSpec("Arial,11,0"));

    LARGE_INTEGER a, b;
    double ours = 0, relayout = 0, page = 0, modelTime = 0, whole = 0;
    long ourPages = 0;
    for (int i = 0; i < kRuns; ++i) {
        ADisplayLock lock(&site, dc, AGraphicDisplay::kOwnDevice, nullptr, nullptr);
        QueryPerformanceCounter(&a);
        AIndexedDocModel* model = MakeIndexedModel(article);
        model->getLength();
        LARGE_INTEGER m;
        QueryPerformanceCounter(&m);
        modelTime += Seconds(a, m);
        ALineRenderer* renderer = new ALineRenderer(model, sheet, &display, ARect(0, 0, 800, 600));
        renderer->addRef();
        renderer->layoutFrom(0);
        renderer->draw(ARect(0, 0, 800, 600));
        QueryPerformanceCounter(&b);
        ours += Seconds(a, b);

        QueryPerformanceCounter(&a);
        renderer->setFrame(ARect(0, 0, 700, 600));
        renderer->layoutFrom(0);
        QueryPerformanceCounter(&b);
        relayout += Seconds(a, b);

        QueryPerformanceCounter(&a);
        long changed = 0, delta = 0;
        renderer->scroll(3, 0, &changed, &delta);
        renderer->draw(ARect(0, 0, 700, 600));
        QueryPerformanceCounter(&b);
        page += Seconds(a, b);
        renderer->release();
        model->release();

        // The whole article, from its opening to its last page.
        QueryPerformanceCounter(&a);
        model = MakeIndexedModel(article);
        renderer = new ALineRenderer(model, sheet, &display, ARect(0, 0, 800, 600));
        renderer->addRef();
        renderer->layoutFrom(0);
        long pages = 1;
        for (long moved = 1; moved && renderer->lastLaidOutPosition() < model->getLength(); ++pages) {
            long lineChanges = 0;
            renderer->scroll(3, 0, &lineChanges, &moved);
        }
        QueryPerformanceCounter(&b);
        whole += Seconds(a, b);
        ourPages = pages;
        renderer->release();
        model->release();
    }

    double theirs = 0, theirWhole = 0;
    long theirLines = 0;
    HMODULE riched = LoadLibraryA("riched20.dll");
    // The control lives in a hidden top-level window, as it would in a program.
    HWND host = CreateWindowExA(0, "STATIC", "", WS_OVERLAPPED, 0, 0, 800, 600, nullptr, nullptr,
                                GetModuleHandleA(nullptr), nullptr);
    for (int i = 0; riched && i < kRuns; ++i) {
        QueryPerformanceCounter(&a);
        HWND edit = CreateWindowExA(0, "RichEdit20A", "", WS_CHILD | ES_MULTILINE, 0, 0, 800, 600, host, nullptr,
                                    GetModuleHandleA(nullptr), nullptr);
        SendMessageA(edit, EM_EXLIMITTEXT, 0, 0x7FFFFFFF);
        StreamState state{&rtf, 0};
        EDITSTREAM stream = {reinterpret_cast<DWORD_PTR>(&state), 0, ReadRtf};
        SendMessageA(edit, EM_STREAMIN, SF_RTF, reinterpret_cast<LPARAM>(&stream));
        FORMATRANGE range = {};
        range.hdc = dc;
        range.hdcTarget = dc;
        range.rc = RECT{0, 0, 800 * 1440 / 96, 600 * 1440 / 96};
        range.rcPage = range.rc;
        range.chrg.cpMin = 0;
        range.chrg.cpMax = -1;
        SendMessageA(edit, EM_FORMATRANGE, TRUE, reinterpret_cast<LPARAM>(&range));
        SendMessageA(edit, EM_FORMATRANGE, FALSE, 0);
        QueryPerformanceCounter(&b);
        theirs += Seconds(a, b);
        if (i == 0)
            printf("rich edit holds %ld characters\n", static_cast<long>(SendMessageA(edit, WM_GETTEXTLENGTH, 0, 0)));
        DestroyWindow(edit);

        // Loaded, wrapped whole (the line count needs every line) and its
        // first page formatted.
        QueryPerformanceCounter(&a);
        edit = CreateWindowExA(0, "RichEdit20A", "", WS_CHILD | ES_MULTILINE, 0, 0, 800, 600, host, nullptr,
                               GetModuleHandleA(nullptr), nullptr);
        SendMessageA(edit, EM_EXLIMITTEXT, 0, 0x7FFFFFFF);
        state = StreamState{&rtf, 0};
        SendMessageA(edit, EM_STREAMIN, SF_RTF, reinterpret_cast<LPARAM>(&stream));
        theirLines = static_cast<long>(SendMessageA(edit, EM_GETLINECOUNT, 0, 0));
        SendMessageA(edit, EM_FORMATRANGE, TRUE, reinterpret_cast<LPARAM>(&range));
        SendMessageA(edit, EM_FORMATRANGE, FALSE, 0);
        QueryPerformanceCounter(&b);
        theirWhole += Seconds(a, b);
        DestroyWindow(edit);
    }

    printf("article: %u bytes, %d runs\n", static_cast<unsigned>(article.size()), kRuns);
    printf("open, lay out and draw the first screen: %.3f ms\n", 1000 * ours / kRuns);
    if (riched)
        printf("rich edit stream-in and paint:           %.3f ms (ours / theirs = %.2f)\n", 1000 * theirs / kRuns,
               theirs > 0 ? ours / theirs : 0.0);
    else
        printf("rich edit: riched20.dll did not load\n");
    printf("  of which building the model:          %.3f ms\n", 1000 * modelTime / kRuns);
    printf("full relayout after a width change:      %.3f ms\n", 1000 * relayout / kRuns);
    printf("scroll by one page and draw:             %.3f ms\n", 1000 * page / kRuns);
    printf("whole article laid out, page by page:    %.3f ms (%ld pages)\n", 1000 * whole / kRuns, ourPages);
    if (riched)
        printf("rich edit stream-in, full wrap, page 1: %.3f ms (%ld lines; ours / theirs = %.2f)\n",
               1000 * theirWhole / kRuns, theirLines, theirWhole > 0 ? whole / theirWhole : 0.0);

    sheet->release();
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
    return 0;
}
