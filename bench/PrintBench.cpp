// Prints the time from a sample article's text to its finished PDF on the
// CUPS printer "PDF": the reader's printer (laid out from the slash markup,
// page header with its rule, the printer's margins) against a RichEdit
// control printing our RTF export of the same article page by page with
// EM_FORMATRANGE (streamed in from the RTF, so both start from text).
// Five runs each; medians and their ratio. The article is the sample's whose
// markup is nearest 107 KB (about 20 pages).
// Usage: bench_print <sample-work folder>. Needs Xvfb and the printer "PDF".
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "bench/BenchWindow.h"
#include "bench/RtfStream.h"
#include "docengine/export/AExportProvider.h"
#include "docengine/export/AExportSink.h"
#include "docengine/export/ARtfExportWriter.h"
#include "docengine/render/ARendererViews.h"
#include "docengine/render/ATextRenderer.h"
#include "framework/display/APrintRange.h"
#include "framework/files/AOptionsInfo.h"
#include "framework/printing/APrinter.h"
#include "framework/printing/APrinterSetup.h"
#include "panes/docks/print/APrintSources.h"
#include "panes/docks/print/ASVRendererPrinter.h"

// After the project's headers: its OLE types would shadow their names.
#include <richedit.h>

namespace {

const int kRuns = 5;
const size_t kWanted = 107000;

struct Article {
    std::string title;
    std::string markup;
};

// articles.dat: records "n\ttitle length\text length\tmarkup length\n", then
// the title, the extension and the markup, each of its length.
bool PickArticle(const std::string& path, Article& out) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream all;
    all << in.rdbuf();
    const std::string data = all.str();
    size_t at = 0, best = static_cast<size_t>(-1);
    while (at < data.size()) {
        size_t eol = data.find('\n', at);
        if (eol == std::string::npos)
            return false;
        unsigned long n = 0, tl = 0, el = 0, ml = 0;
        if (std::sscanf(data.substr(at, eol - at).c_str(), "%lu\t%lu\t%lu\t%lu", &n, &tl, &el, &ml) != 4)
            return false;
        at = eol + 1;
        if (tl + el + ml > data.size() - at)
            return false;
        size_t distance = ml > kWanted ? ml - kWanted : kWanted - ml;
        if (distance < best) {
            best = distance;
            out.title = data.substr(at, tl);
            out.markup = data.substr(at + tl + el, ml);
        }
        at += tl + el + ml;
    }
    return best != static_cast<size_t>(-1);
}

double Now() {
    LARGE_INTEGER c, f;
    QueryPerformanceCounter(&c);
    QueryPerformanceFrequency(&f);
    return static_cast<double>(c.QuadPart) / static_cast<double>(f.QuadPart);
}

// The PDF printer's output folder ($HOME/PDF seen through drive Z:).
std::string PdfFolder() {
    const char* home = std::getenv("HOME");
    std::string folder = std::string("Z:") + (home ? home : "/root") + "/PDF";
    std::replace(folder.begin(), folder.end(), '/', '\\');
    return folder;
}

std::set<std::string> PdfFiles() {
    std::set<std::string> names;
    WIN32_FIND_DATAA found;
    HANDLE h = FindFirstFileA((PdfFolder() + "\\*.pdf").c_str(), &found);
    if (h == INVALID_HANDLE_VALUE)
        return names;
    do {
        names.insert(found.cFileName);
    } while (FindNextFileA(h, &found));
    FindClose(h);
    return names;
}

bool EndsWithEof(const std::string& path) {
    std::ifstream in(path, std::ios::binary | std::ios::ate);
    std::streamoff size = in.tellg();
    if (size < 8)
        return false;
    in.seekg(size > 32 ? size - 32 : 0);
    std::string tail((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    return tail.find("%%EOF") != std::string::npos;
}

// Waits (60 s at most) for a complete PDF that was not there before; its name, or "".
std::string WaitForPdf(const std::set<std::string>& before) {
    for (int i = 0; i < 6000; ++i) {
        for (const std::string& name : PdfFiles())
            if (!before.count(name) && EndsWithEof(PdfFolder() + "\\" + name))
                return name;
        Sleep(10);
    }
    return std::string();
}

// The pages of a PDF: its page objects ("/Type /Page", not "/Pages").
long PdfPages(const std::string& name) {
    std::ifstream in(PdfFolder() + "\\" + name, std::ios::binary);
    std::string all((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    long pages = 0;
    for (const char* key : {"/Type /Page", "/Type/Page"})
        for (size_t at = all.find(key); at != std::string::npos; at = all.find(key, at + 1)) {
            char next = at + std::strlen(key) < all.size() ? all[at + std::strlen(key)] : ' ';
            if (next != 's')
                ++pages;
        }
    return pages;
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

class Sources : public APrintSources {
public:
    explicit Sources(const std::string& title) : title_(title.c_str()) {}
    AString contentsText() override { return AString(); }
    AString notesText() override { return AString(); }
    AString docTitle() override { return title_; }

private:
    AString title_;
};

// Ours: the article's markup into a text renderer on the view, printed by the reader's printer.
double PrintOurs(AStandardView* view, const Article& article, long* pages) {
    std::set<std::string> before = PdfFiles();
    double start = Now();
    auto* renderer = new ATextRenderer(view->rendererLayer());
    renderer->addRef();
    renderer->setTextModel(article.markup.c_str(), nullptr);
    view->rendererLayer()->setRenderer(renderer);
    renderer->release();
    ALongDicInfo options;
    Sources sources(article.title);
    auto* printer = new ASVRendererPrinter(&options, &sources);
    view->rendererLayer()->setPrinter(printer);
    printer->setHeaderText(AString(("/|" + article.title).c_str()), view, nullptr);
    const long margins[4] = {0, 30, 0, 30};
    for (int i = 0; i < 4; ++i)
        printer->margins[i] = margins[i];
    auto* job = new APrinter;
    AObject::completeNew(job);
    job->printPages(view->rendererLayer(), APrintRange{0, 999, 1, 1, 0});
    std::string pdf = WaitForPdf(before);
    double seconds = Now() - start;
    *pages = pdf.empty() ? 0 : PdfPages(pdf);
    AComponent* gone = job;
    DeleteComponent(gone);
    view->rendererLayer()->setRenderer(nullptr);
    return pdf.empty() ? -1 : seconds;
}

std::string OurRtf(AStandardView* view, const Article& article) {
    auto* renderer = new ATextRenderer(view);
    renderer->addRef();
    renderer->setTextModel(article.markup.c_str(), nullptr);
    auto* sink = new AStringExportSink;
    sink->addRef();
    auto* provider = new ARendererExportProvider(renderer->model(), nullptr, AString(), AString(article.title.c_str()));
    provider->addRef();
    {
        ARtfExportWriter writer(sink, provider);
        writer.exportAll();
    }
    std::string rtf = sink->getString().c_str();
    provider->release();
    sink->release();
    renderer->release();
    return rtf;
}

// Theirs: the RTF streamed into a RichEdit control, printed a page at a time.
double PrintTheirs(HWND host, const std::string& rtf, long* pages) {
    std::set<std::string> before = PdfFiles();
    double start = Now();
    HWND edit = CreateWindowExA(0, "RichEdit20A", "", WS_CHILD | WS_VISIBLE | ES_MULTILINE, 0, 0, 800, 600, host, nullptr,
                                GetModuleHandleA(nullptr), nullptr);
    SendMessageA(edit, EM_EXLIMITTEXT, 0, 0x7FFFFFFF);
    StreamState state{&rtf, 0};
    EDITSTREAM stream = {reinterpret_cast<DWORD_PTR>(&state), 0, ReadRtf};
    SendMessageA(edit, EM_STREAMIN, SF_RTF, reinterpret_cast<LPARAM>(&stream));
    HDC dc = CreateDCA("WINSPOOL", "PDF", nullptr, nullptr);
    if (!dc) {
        DestroyWindow(edit);
        return -1;
    }
    DOCINFOA doc = {sizeof doc, "RichEdit", nullptr, nullptr, 0};
    StartDocA(dc, &doc);
    FORMATRANGE range = {};
    range.hdc = range.hdcTarget = dc;
    long w = MulDiv(GetDeviceCaps(dc, HORZRES), 1440, GetDeviceCaps(dc, LOGPIXELSX));
    long h = MulDiv(GetDeviceCaps(dc, VERTRES), 1440, GetDeviceCaps(dc, LOGPIXELSY));
    range.rcPage = RECT{0, 0, w, h};
    long length = static_cast<long>(SendMessageA(edit, WM_GETTEXTLENGTH, 0, 0));
    range.chrg.cpMin = 0;
    range.chrg.cpMax = length;
    long formatted = 0;
    while (range.chrg.cpMin < length) {
        // The reader's margins: 30 points above and below.
        range.rc = RECT{0, 600, w, h - 600};
        StartPage(dc);
        long next = static_cast<long>(SendMessageA(edit, EM_FORMATRANGE, TRUE, reinterpret_cast<LPARAM>(&range)));
        EndPage(dc);
        ++formatted;
        // Wine's control answers 0 here (no text fits), even for plain RTF: one page and stop.
        if (next <= range.chrg.cpMin) {
            std::printf("rich edit: EM_FORMATRANGE formatted nothing after %ld page(s) (at %ld of %ld)\n", formatted,
                        range.chrg.cpMin, length);
            break;
        }
        range.chrg.cpMin = next;
    }
    SendMessageA(edit, EM_FORMATRANGE, FALSE, 0);
    EndDoc(dc);
    DeleteDC(dc);
    DestroyWindow(edit);
    std::string pdf = WaitForPdf(before);
    double seconds = Now() - start;
    *pages = pdf.empty() ? 0 : PdfPages(pdf);
    return pdf.empty() ? -1 : seconds;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::printf("usage: bench_print <sample-work folder>\n");
        return 0;
    }
    Article article;
    if (!PickArticle(std::string(argv[1]) + "\\articles.dat", article)) {
        std::printf("no sample articles in %s\n", argv[1]);
        return 0;
    }
    BenchWindow bench;
    if (!bench.open("PrintBench", 400, 300)) {
        std::printf("no display\n");
        return 0;
    }
    if (!APrinterSetup::current()) {
        std::printf("no printer \"PDF\"\n");
        bench.close();
        return 0;
    }
    auto* view = new AStandardView(bench.root, 7, ASizeSpec(ARect(0, 0, 400, 300)));
    AObject::completeNew(view);
    view->show(false);
    bench.show();
    std::printf("article: %s (%zu bytes of markup)\n", article.title.c_str(), article.markup.size());
    std::string rtf = OurRtf(view, article);
    std::printf("our RTF export: %zu bytes\n", rtf.size());

    HMODULE riched = LoadLibraryA("riched20.dll");
    HWND host = CreateWindowExA(0, "STATIC", "", WS_POPUP | WS_VISIBLE, 0, 0, 800, 600, nullptr, nullptr,
                                GetModuleHandleA(nullptr), nullptr);
    std::vector<double> ours, theirs;
    long ourPages = 0, theirPages = 0;
    for (int i = 0; i < kRuns; ++i) {
        double a = PrintOurs(view, article, &ourPages);
        double b = riched ? PrintTheirs(host, rtf, &theirPages) : -1;
        std::printf("run %d: ours %.3f s, rich edit %.3f s\n", i + 1, a, b);
        if (a > 0)
            ours.push_back(a);
        if (b > 0)
            theirs.push_back(b);
    }
    if (!riched)
        std::printf("rich edit: riched20.dll did not load\n");
    std::printf("pages: ours %ld, rich edit %ld\n", ourPages, theirPages);
    double mo = Median(ours), mt = Median(theirs);
    std::printf("median to the finished PDF: ours %.3f s, rich edit %.3f s\n", mo, mt);
    if (mo > 0 && mt > 0)
        std::printf("ratio ours / rich edit: %.2f\n", mo / mt);
    DestroyWindow(host);
    if (riched)
        FreeLibrary(riched);
    bench.close();
    return 0;
}
