// The reader's screens timed on the sample encyclopedia, the real reader
// started in-process as on its own, each mode beside its peer in the same run:
//
//   article  100 articles opened as a result click opens them (the centre
//            switcher's road: state, record, highlighting, layout) to the
//            painted screen, median and worst, beside the system's rich edit
//            control streaming in the RTF that the article view exports of
//            each and painting it;
//   quick    Return in the quick search field to the disc list painted and
//            its first article shown, over the sample's fixed searches, median
//            and 99th percentile, beside a composed peer (FTS5 over the same
//            words, a virtual list view of the titles found and the rich edit
//            control streaming in the article ours showed, to both painted)
//            and the search request alone;
//   field    the same over the search benchmark's single-word and AND queries;
//   memory   what the reader alone holds (working set, private memory, heap,
//            GDI objects) at start, after 100 and 200 Returns over the field's
//            queries and after 100 and 200 result clicks, no peer made;
//            SV_BENCH_VERBOSE prints it after each action, SV_BENCH_LIST the
//            heap blocks of 16 KB or more and the bitmaps at each print.
//
// The sides take turns at each pass (ours, then the peer), so that the
// machine's changing load weighs on both alike.
//
// Run under xvfb-run: bench_screens MODE SAMPLE_FOLDER WORK_FOLDER (Windows
// paths: build/sample and build/sample-work); SV_BENCH_PASSES=n times n passes
// of the queries (3 by default) after one to warm the caches, SV_BENCH_VERBOSE
// prints each query's time, SV_BENCH_SHOT=PATH saves the screen the run left.
// SV_BENCH_SERVER_LOG=PATH names the request trace of the Wine server the run
// talks to (`wineserver -f -d1 2>PATH`, see screens_requests.sh): quick and
// field then also print the server requests per Return, counted between
// markers the run leaves in the trace (the times of such a run are the
// trace's, not ours).
#include <sqlite3.h>
#include <windows.h>
#include <commctrl.h>
#define PSAPI_VERSION 2  // the call from kernel32, no psapi to link
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <string>
#include <typeinfo>
#include <vector>

#include "app/frame/Frame1.h"
#include "search/facade/ALoVect.h"
#include "reader/TheApp.h"
#include "app/state/ASVLoSearchState.h"
#include "app/state/AppState.h"
#include "base/procedural/AError.h"
#include "base/procedural/BAlloc.h"
#include "bench/FtsQueries.h"
#include "bench/RtfStream.h"
#include "bench/SampleSearch.h"
#include "docengine/render/ARenderer.h"
#include "docengine/render/ARendererViews.h"
#include "docengine/render/ATextRenderer.h"
#include "framework/controls/AEditBox.h"
#include "framework/windows/AWindowShell.h"
#include "panes/content/article/DocKycfPane.h"
#include "panes/content/article/DockLCRPane.h"
#include "panes/docks/top/DockTopLeftRechPane.h"
#include "search/facade/ASearchBase.h"
#include "tests/support/HostProgram.h"

// Last: its RPC headers declare a global `byte` that the file layer's
// parameters would shadow.
#include <richedit.h>

namespace {

const size_t kArticles = 100;

struct Figures {
    double median, p99, worst;
};

Figures Summarise(std::vector<double> ms) {
    if (ms.empty())
        return {0, 0, 0};
    std::sort(ms.begin(), ms.end());
    return {ms[ms.size() / 2], ms[std::min(ms.size() - 1, ms.size() * 99 / 100)], ms.back()};
}

int Passes() {
    const char* n = std::getenv("SV_BENCH_PASSES");
    return std::max(1, n ? std::atoi(n) : 3);
}

// The reader started from the request it posts to itself, run by its loop.
class Reader {
public:
    bool start() {
        AClass::buildRegistry();
        app = new TheApp;
        app->setInstance(GetModuleHandleA(nullptr), "", SW_SHOWMAXIMIZED);
        AObject::completeNew(app);
        for (int i = 0; i < 500 && !(app->started() && app->getFrame()); ++i) {
            pump();
            Sleep(10);
        }
        frame = app->getFrame();
        if (!frame || !frame->getNativeWindow())
            return false;
        hwnd = frame->getNativeWindow()->hwnd();
        SetWindowPos(GetAncestor(hwnd, GA_ROOT), HWND_TOP, 0, 0, 1024, 768, SWP_SHOWWINDOW);
        SetWindowPos(hwnd, HWND_TOP, 0, 0, 1000, 700, SWP_SHOWWINDOW);
        pump();
        return true;
    }
    ~Reader() {
        if (app) {
            AComponent* root = app;
            DeleteComponent(root);
        }
    }
    // Delivers pending messages and change notices until none is left.
    void pump() {
        for (int i = 0; i < 10; ++i) {
            AApp::current()->flushUpdates();
            MSG msg;
            while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE) && msg.message != WM_QUIT)
                DispatchMessageA(&msg);
        }
    }
    // What the command changed, on the screen: whatever the loop left
    // unpainted, not the whole window once more.
    void paint() {
        pump();
        RedrawWindow(GetAncestor(hwnd, GA_ROOT), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    }
    template <typename Pane>
    Pane* find() {
        AComponent* found = frame->findDescendant(&Pane::classRecord, nullptr);
        return found ? static_cast<Pane*>(found->castTo(&Pane::classRecord)) : nullptr;
    }

    TheApp* app = nullptr;
    Frame1* frame = nullptr;
    HWND hwnd = nullptr;
};

// The system's rich edit control in a window of the reader's size.
// Counts the WM_PAINT the main window receives, however it gets them.
class PaintCounter {
public:
    explicit PaintCounter(HWND hwnd) : hwnd_(hwnd) {
        counter_ = this;
        old_ = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(Proc)));
    }
    ~PaintCounter() {
        SetWindowLongPtrA(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(old_));
        counter_ = nullptr;
    }
    long count = 0;

private:
    static LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM w, LPARAM l) {
        if (message == WM_PAINT)
            ++counter_->count;
        return CallWindowProcA(counter_->old_, hwnd, message, w, l);
    }
    static PaintCounter* counter_;
    HWND hwnd_;
    WNDPROC old_ = nullptr;
};
PaintCounter* PaintCounter::counter_ = nullptr;

class RichEdit {
public:
    RichEdit() {
        if (!LoadLibraryA("riched20.dll"))
            return;
        host_ = CreateWindowExA(0, "STATIC", "", WS_OVERLAPPED | WS_VISIBLE, 0, 0, 1000, 700, nullptr, nullptr,
                                GetModuleHandleA(nullptr), nullptr);
        edit_ = CreateWindowExA(0, "RichEdit20A", "", WS_CHILD | WS_VISIBLE | ES_MULTILINE, 0, 0, 1000, 700, host_,
                                nullptr, GetModuleHandleA(nullptr), nullptr);
    }
    ~RichEdit() {
        if (host_)
            DestroyWindow(host_);
    }
    bool ready() const { return edit_ != nullptr; }
    // Milliseconds to stream the RTF in and paint it.
    double load(const std::string& rtf) {
        double a = SampleNow();
        SendMessageA(edit_, EM_EXLIMITTEXT, 0, 0x7FFFFFFF);
        StreamState state{&rtf, 0};
        EDITSTREAM stream = {reinterpret_cast<DWORD_PTR>(&state), 0, ReadRtf};
        SendMessageA(edit_, EM_STREAMIN, SF_RTF, reinterpret_cast<LPARAM>(&stream));
        RedrawWindow(edit_, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        return 1000 * (SampleNow() - a);
    }

private:
    HWND host_ = nullptr;
    HWND edit_ = nullptr;
};

// SV_BENCH_SHOT=PATH: the screen as the run left it, through ImageMagick's
// import, to check what was timed.
void Shot() {
    const char* path = std::getenv("SV_BENCH_SHOT");
    if (!path)
        return;
    if (!StartHostProgram(std::string("/bin/sh -c \"import -window root png:") + path + "\""))
        return;
    // A Unix program's handle does not tell its end: the file does.
    for (int i = 0; i < 100 && GetFileAttributesA(path) == INVALID_FILE_ATTRIBUTES; ++i)
        Sleep(100);
    Sleep(1000);
}

std::string ReadWhole(const std::string& path) {
    std::string text;
    return LoadFile(path, &text) ? text : std::string();
}

// The RTF that the article view exports of the article it shows, else
// document d's text as plain RTF (*exported false).
std::string ShownRtf(Reader& reader, long d, bool* exported) {
    char temp[MAX_PATH];
    GetTempPathA(sizeof temp, temp);
    const std::string path = std::string(temp) + "svbench-article.rtf";
    DocKycfPane* article = reader.find<DocKycfPane>();
    ARendererView* view = article ? article->articleView() : nullptr;
    DeleteFileA(path.c_str());
    std::string text = view && view->exportRtfFile(path.c_str(), true) ? ReadWhole(path) : "";
    *exported = !text.empty();
    if (text.empty() && d >= 0) {
        std::unique_ptr<ASearchBase> base(reader.app->dataLocation()->openBase("TEXT:DOC", nullptr));
        text = base ? ToRtf(base->getText(0, d, 1).c_str()) : "";
    }
    return text.empty() ? ToRtf("") : text;
}

// What the process holds: the working set, the private memory committed
// (heaps, Wine's own), the heaps' blocks in use, of which the program's own
// allocator's, and the GDI objects alive by kind.
struct Holding {
    double workingSet = 0, peak = 0, committed = 0, heap = 0, bitmapBytes = 0, objects = 0;
    long blocks = 0, bitmaps = 0, fonts = 0, brushes = 0, dcs = 0, others = 0;
};

Holding Measure() {
    Holding h;
    PROCESS_MEMORY_COUNTERS pmc = {};
    pmc.cb = sizeof pmc;
    if (GetProcessMemoryInfo(GetCurrentProcess(), &pmc, sizeof pmc)) {
        h.workingSet = pmc.WorkingSetSize / 1048576.0;
        h.peak = pmc.PeakWorkingSetSize / 1048576.0;
    }
    h.objects = BAlloc::bytesInUse() / 1048576.0;
    MEMORY_BASIC_INFORMATION region;
    for (const char* at = nullptr; VirtualQuery(at, &region, sizeof region) == sizeof region;) {
        if (region.State == MEM_COMMIT && region.Type == MEM_PRIVATE)
            h.committed += region.RegionSize / 1048576.0;
        const char* next = static_cast<const char*>(region.BaseAddress) + region.RegionSize;
        if (next <= at)
            break;
        at = next;
    }
    const bool list = std::getenv("SV_BENCH_LIST") != nullptr;
    HANDLE heaps[64];
    DWORD count = std::min<DWORD>(GetProcessHeaps(64, heaps), 64);
    for (DWORD i = 0; i < count; ++i) {
        if (!HeapLock(heaps[i]))
            continue;
        PROCESS_HEAP_ENTRY entry = {};
        while (HeapWalk(heaps[i], &entry))
            if (entry.wFlags & PROCESS_HEAP_ENTRY_BUSY) {
                if (list && entry.cbData >= 16384)
                    std::fprintf(stderr, "  heap %lu block %p %lu\n", i, entry.lpData, entry.cbData);
                h.heap += entry.cbData / 1048576.0;
                ++h.blocks;
            }
        HeapUnlock(heaps[i]);
    }
    // GetGuiResources answers 0 under Wine; Wine's table takes a handle
    // without its generation word, so each slot can be asked its kind.
    for (uintptr_t slot = 1; slot < 0x10000; ++slot) {
        HGDIOBJ object = reinterpret_cast<HGDIOBJ>(slot);
        DWORD kind = GetObjectType(object);
        h.fonts += kind == OBJ_FONT;
        h.brushes += kind == OBJ_BRUSH;
        h.dcs += kind == OBJ_DC || kind == OBJ_MEMDC;
        h.others += kind != 0 && kind != OBJ_BITMAP && kind != OBJ_FONT && kind != OBJ_BRUSH && kind != OBJ_DC &&
                    kind != OBJ_MEMDC;
        BITMAP bm = {};
        if (kind != OBJ_BITMAP || !GetObjectA(object, sizeof bm, &bm))
            continue;
        ++h.bitmaps;
        h.bitmapBytes += double(bm.bmWidthBytes) * bm.bmHeight / 1048576.0;
        if (list && bm.bmWidth * bm.bmHeight > 1000)
            std::fprintf(stderr, "  bitmap %dx%dx%d\n", int(bm.bmWidth), int(bm.bmHeight), int(bm.bmBitsPixel));
    }
    return h;
}

// The figure the user's task manager shows and what lies under it; printed,
// never asserted (it varies with Wine and the load).
void PrintWorkingSet(const char* when) {
    Holding h = Measure();
    std::printf("working set %-40s %7.1f MB (peak %.1f MB), private %.1f MB, heap %.2f MB in %ld blocks "
                "(the program's objects %.2f MB); "
                "GDI bitmaps %ld (%.1f MB), fonts %ld, brushes %ld, DCs %ld, others %ld\n",
                when, h.workingSet, h.peak, h.committed, h.heap, h.blocks, h.objects, h.bitmaps, h.bitmapBytes,
                h.fonts, h.brushes, h.dcs, h.others);
}

// The search that the result list would come from: enough text articles for
// the run, each with hits to highlight.
// Null, with the reason printed, when the search gave too few or there is no
// centre switcher.
DockLCRPane* ArticleDocs(Reader& reader, std::vector<long>* docs) {
    std::unique_ptr<ASearchRequest> request(reader.app->dataLocation()->createRequest("TEXT", "RECH"));
    const char* question = "calque OU image OU fichier OU couleur";
    request->setQuestion(1, question, 0);
    request->execute(0);
    ARefHold<ALoScore> results(new ALoScore(*request, 1));
    ARefHold<ASVLoSearchState> search(new ASVLoSearchState());
    search->setQuery(question);
    search->setTextResults(results.get());
    reader.frame->currentState()->setSearchState(search.get());
    for (long i = 0; i < results->getCount() && docs->size() < kArticles; ++i) {
        long d = results->seek(i);
        if (reader.app->isTextDoc(d))
            docs->push_back(d);
    }
    DockLCRPane* centre = DockLCRPane::of(reader.frame);
    if (!centre || docs->size() < kArticles) {
        std::printf("the search gave %zu text articles, or no centre switcher\n", docs->size());
        return nullptr;
    }
    return centre;
}

int Articles(Reader& reader) {
    std::vector<long> docs;
    DockLCRPane* centre = ArticleDocs(reader, &docs);
    if (!centre)
        return 1;
    std::vector<double> ours, painting;
    std::vector<std::string> rtf;
    size_t plain = 0;
    // From the home screen to the reading screen first: the clicks come from the result list there.
    centre->showDocument(docs.back());
    reader.paint();
    PaintCounter paints(reader.hwnd);
    std::vector<double> ownPaints;
    for (int pass = 0; pass < 2; ++pass) {
        for (long d : docs) {
            paints.count = 0;
            double a = SampleNow();
            centre->openDocument(d);
            reader.pump();
            double b = SampleNow();
            if (pass == 1)
                ownPaints.push_back(paints.count);
            reader.paint();
            double ms = 1000 * (SampleNow() - a);
            if (pass == 0) {
                if (d == docs.back())
                    PrintWorkingSet("after 100 articles (no RTF kept):");
                continue;  // warms the caches
            }
            ours.push_back(ms);
            painting.push_back(1000 * (SampleNow() - b));
            bool exported = true;
            rtf.push_back(ShownRtf(reader, d, &exported));  // outside the timing
            plain += !exported;
        }
    }
    PrintWorkingSet("after 200 articles (their RTF kept):");
    Shot();
    RichEdit edit;
    std::vector<double> theirs;
    for (int pass = 0; edit.ready() && pass < 2; ++pass)
        for (const std::string& r : rtf) {
            double ms = edit.load(r);
            if (pass == 1)
                theirs.push_back(ms);
        }
    Figures f = Summarise(ours), p = Summarise(painting), t = Summarise(theirs);
    std::printf("%zu sample articles opened from a result click (%zu exported as plain text)\n", docs.size(), plain);
    std::printf("reader, click to painted screen:     median %7.3f ms, worst %7.3f ms\n", f.median, f.worst);
    std::printf("  of which painting what was left:   median %7.3f ms, worst %7.3f ms\n", p.median, p.worst);
    Figures n = Summarise(ownPaints);
    std::printf("  the main window's own paints:      median %.0f, worst %.0f an opening\n", n.median, n.worst);
    if (edit.ready())
        std::printf("rich edit, RTF stream-in and paint:  median %7.3f ms, worst %7.3f ms (ours / theirs = %.2f)\n",
                    t.median, t.worst, t.median > 0 ? f.median / t.median : 0.0);
    else
        std::printf("rich edit: riched20.dll did not load\n");
    return 0;
}

struct Search {
    std::string form, question, fts;  // form "RECH" or "RECHTHES"; fts: the question in FTS5's language
};

// Issue 28's fixed searches; FTS5 has no thesaurus, so "~" asks it the word alone.
std::vector<Search> FixedSearches() {
    return {
        {"RECH", "calque", "calque"},
        {"RECH", "retouche ET photo", "retouche AND photo"},
        {"RECH", "tableau crois\xE9", "tableau croise"},
        {"RECH", "\"tableau crois\xE9\"", "NEAR(tableau croise, 0)"},
        {"RECHTHES", "image", "image"},
        {"RECH", "pinceau OU crayon", "pinceau OR crayon"},
        {"RECH", "filtre SAUF flou", "filtre NOT flou"},
        {"RECH", "calq*!", "calq*"},
        {"RECH", "histogramme", "histogramme"},
        {"RECH", "macro ET basic", "macro AND basic"},
        {"RECH", "\"feuille de calcul\"", "NEAR(feuille calcul, 1)"},
        {"RECH", "courbes ET couleurs", "courbes AND couleurs"},
        {"RECH", "imprimer OU impression", "imprimer OR impression"},
        {"RECH", "fichier SAUF image", "fichier NOT image"},
        {"RECH", "s\xE9lection ET masque", "selection AND masque"},
        {"RECH", "\"ligne de commande\"", "NEAR(ligne commande, 1)"},
        {"RECH", "r\xE9pertoire ET utilisateur", "repertoire AND utilisateur"},
        {"RECH", "transparence", "transparence"},
        {"RECH", "diapo*!", "diapo*"},
        {"RECHTHES", "photo", "photo"},
    };
}

// The search benchmark's single-word and AND queries.
std::vector<Search> FieldSearches(const std::string& work) {
    fts_queries::Corpus corpus;
    std::string stops;
    if (!fts_queries::ReadCorpus(work + "\\words.txt", &corpus) || !LoadFile(work + "\\stop.txt", &stops))
        return {};
    std::vector<Search> out;
    for (const fts_queries::Query& q : fts_queries::MakeQueries(corpus, fts_queries::ReadStops(stops)))
        if (q.kind == "AND" || q.kind.compare(0, 4, "word") == 0)
            out.push_back({"RECH", q.ours, q.fts});
    return out;
}

// The field's queries made by another run of this program (mode "queries"),
// so that the corpus they are drawn from, some hundreds of megabytes while
// read, stays out of this process's figures.
std::vector<Search> FieldSearchesApart(const std::string& sample, const std::string& work) {
    char program[MAX_PATH], temp[MAX_PATH];
    GetModuleFileNameA(nullptr, program, sizeof program);
    GetTempPathA(sizeof temp, temp);
    const std::string path = std::string(temp) + "svbench-queries.txt";
    DeleteFileA(path.c_str());
    std::string line = "\"" + std::string(program) + "\" queries \"" + sample + "\" \"" + work + "\"";
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi = {};
    if (!CreateProcessA(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
        return {};
    WaitForSingleObject(pi.hProcess, INFINITE);
    CloseHandle(pi.hProcess);
    CloseHandle(pi.hThread);
    std::vector<Search> out;
    std::ifstream in(path);
    std::string form, question, fts;
    while (std::getline(in, form, '\t') && std::getline(in, question, '\t') && std::getline(in, fts))
        out.push_back({form, question, fts});
    return out;
}

// Writes the field's queries for FieldSearchesApart, a line each.
int WriteFieldSearches(const std::string& work) {
    char temp[MAX_PATH];
    GetTempPathA(sizeof temp, temp);
    std::ofstream out(std::string(temp) + "svbench-queries.txt");
    for (const Search& s : FieldSearches(work))
        out << s.form << '\t' << s.question << '\t' << s.fts << '\n';
    return out ? 0 : 1;
}

// Milliseconds per pass and search of the request alone: question, run, count.
std::vector<double> EngineTimes(ADataLocation* location, const std::vector<Search>& searches, int passes) {
    std::vector<double> ms;
    for (int pass = 0; pass <= passes; ++pass)
        for (const Search& s : searches) {
            std::unique_ptr<ASearchRequest> request(location->createRequest("TEXT", s.form.c_str()));
            double a = SampleNow();
            request->setQuestion(1, s.question.c_str(), 0);
            request->execute(0);
            request->getResultCount(0);
            if (pass > 0)
                ms.push_back(1000 * (SampleNow() - a));
        }
    return ms;
}

// The composed peer of a search screen, in a window of the reader's size: FTS5
// over the same words (the contentless table of the word items that
// bench_search_fts builds, in a scratch file, its queries inside one read
// transaction), a virtual list view showing the titles found (from a table of
// the same file) and the rich edit control showing an article.
class Peer {
public:
    ~Peer() {
        if (host_)
            DestroyWindow(host_);
        sqlite3_finalize(match_);
        sqlite3_finalize(title_);
        if (db_)
            sqlite3_close(db_);
        if (!path_.empty())
            DeleteFileA(path_.c_str());
    }
    // False, with the reason printed, when the table or the windows cannot be made.
    bool open(const std::string& work, ADataLocation* location) {
        INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_LISTVIEW_CLASSES};
        if (!InitCommonControlsEx(&controls) || !LoadLibraryA("riched20.dll") || !makeWindows()) {
            std::printf("peer: no rich edit control or list view\n");
            return false;
        }
        char temp[MAX_PATH];
        GetTempPathA(sizeof temp, temp);
        path_ = std::string(temp) + "svbench-screens.db";
        DeleteFileA(path_.c_str());
        bool ok = sqlite3_open(path_.c_str(), &db_) == SQLITE_OK && fill(work, location) &&
                  sqlite3_exec(db_, "BEGIN", nullptr, nullptr, nullptr) == SQLITE_OK &&
                  sqlite3_prepare_v2(db_, "SELECT rowid FROM t WHERE t MATCH ?1", -1, &match_, nullptr) == SQLITE_OK &&
                  sqlite3_prepare_v2(db_, "SELECT title FROM titles WHERE rowid = ?1", -1, &title_, nullptr) ==
                      SQLITE_OK;
        if (!ok)
            std::printf("peer: fts5: %s\n", db_ ? sqlite3_errmsg(db_) : "no database");
        return ok;
    }
    HWND window() const { return host_; }
    // Milliseconds from the query to the list and the article painted, and the
    // query's, the list's and the article's shares.
    struct Times {
        double total, query, list, article;
    };
    Times show(const std::string& fts, const std::string& rtf) {
        double a = SampleNow();
        rows_.clear();
        sqlite3_bind_text(match_, 1, fts.c_str(), -1, SQLITE_STATIC);
        while (sqlite3_step(match_) == SQLITE_ROW)
            rows_.push_back(sqlite3_column_int64(match_, 0));
        sqlite3_reset(match_);
        double b = SampleNow();
        SendMessageA(list_, LVM_SETITEMCOUNT, rows_.size(), 0);
        ListView_SetItemState(list_, 0, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
        ListView_EnsureVisible(list_, 0, FALSE);
        RedrawWindow(list_, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        double c = SampleNow();
        StreamState state{&rtf, 0};
        EDITSTREAM stream = {reinterpret_cast<DWORD_PTR>(&state), 0, ReadRtf};
        SendMessageA(edit_, EM_STREAMIN, SF_RTF, reinterpret_cast<LPARAM>(&stream));
        RedrawWindow(edit_, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        double d = SampleNow();
        return {1000 * (d - a), 1000 * (b - a), 1000 * (c - b), 1000 * (d - c)};
    }

private:
    // The table of the word items and the titles of their articles, in one transaction.
    bool fill(const std::string& work, ADataLocation* location) {
        fts_queries::Corpus corpus;
        std::unique_ptr<ASearchBase> titles(location->openBase("TEXT:TITLE", nullptr));
        if (!titles || !fts_queries::ReadCorpus(work + "\\words.txt", &corpus))
            return false;
        bool ok = sqlite3_exec(db_,
                               "CREATE VIRTUAL TABLE t USING fts5(body, content='', "
                               "tokenize='unicode61 remove_diacritics 2'); "
                               "CREATE TABLE titles(rowid INTEGER PRIMARY KEY, title TEXT); BEGIN",
                               nullptr, nullptr, nullptr) == SQLITE_OK;
        sqlite3_stmt* words = nullptr;
        sqlite3_stmt* title = nullptr;
        ok = ok && sqlite3_prepare_v2(db_, "INSERT INTO t(rowid, body) VALUES(?1, ?2)", -1, &words, nullptr) == SQLITE_OK;
        ok = ok && sqlite3_prepare_v2(db_, "INSERT INTO titles VALUES(?1, ?2)", -1, &title, nullptr) == SQLITE_OK;
        for (auto d = corpus.docs.begin(); ok && d != corpus.docs.end(); ++d) {
            std::string text;
            for (const fts_queries::Occurrence& o : d->second)
                text += (text.empty() ? "" : " ") + o.key;
            text = fts_queries::Utf8(text);
            sqlite3_bind_int64(words, 1, d->first);
            sqlite3_bind_text(words, 2, text.c_str(), -1, SQLITE_TRANSIENT);
            ok = sqlite3_step(words) == SQLITE_DONE;
            sqlite3_reset(words);
            std::string name;
            try {
                name = titles->getText(0, d->first, 1).c_str();
            } catch (const AError&) {
                // A document without a title shows an empty row.
            }
            sqlite3_bind_int64(title, 1, d->first);
            sqlite3_bind_text(title, 2, name.c_str(), -1, SQLITE_TRANSIENT);
            ok = ok && sqlite3_step(title) == SQLITE_DONE;
            sqlite3_reset(title);
        }
        sqlite3_finalize(words);
        sqlite3_finalize(title);
        return ok && sqlite3_exec(db_, "COMMIT; INSERT INTO t(t) VALUES('optimize')", nullptr, nullptr, nullptr) ==
                         SQLITE_OK;
    }
    bool makeWindows() {
        HINSTANCE instance = GetModuleHandleA(nullptr);
        WNDCLASSA wc{};
        wc.lpfnWndProc = HostProc;
        wc.hInstance = instance;
        wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
        wc.lpszClassName = "SvBenchPeer";
        RegisterClassA(&wc);
        host_ = CreateWindowExA(0, "SvBenchPeer", "", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, 1000, 700, nullptr,
                                nullptr, instance, nullptr);
        if (!host_)
            return false;
        SetWindowLongPtrA(host_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
        list_ = CreateWindowExA(0, WC_LISTVIEWA, "",
                                WS_CHILD | WS_VISIBLE | WS_BORDER | LVS_REPORT | LVS_OWNERDATA | LVS_SINGLESEL |
                                    LVS_SHOWSELALWAYS,
                                0, 0, 300, 700, host_, nullptr, instance, nullptr);
        edit_ = CreateWindowExA(0, "RichEdit20A", "", WS_CHILD | WS_VISIBLE | WS_VSCROLL | ES_MULTILINE | ES_READONLY,
                                300, 0, 700, 700, host_, nullptr, instance, nullptr);
        if (!list_ || !edit_)
            return false;
        LVCOLUMNA column{};
        column.mask = LVCF_TEXT | LVCF_WIDTH;
        column.cx = 276;
        column.pszText = const_cast<char*>("Titre");
        SendMessageA(list_, LVM_INSERTCOLUMNA, 0, reinterpret_cast<LPARAM>(&column));
        SendMessageA(edit_, EM_EXLIMITTEXT, 0, 0x7FFFFFFF);
        return true;
    }
    // A row's title, read when the list paints it.
    void title(NMLVDISPINFOA* info) {
        if (!(info->item.mask & LVIF_TEXT) || info->item.iItem < 0 ||
            static_cast<size_t>(info->item.iItem) >= rows_.size())
            return;
        text_.clear();
        sqlite3_bind_int64(title_, 1, rows_[static_cast<size_t>(info->item.iItem)]);
        if (sqlite3_step(title_) == SQLITE_ROW)
            text_ = reinterpret_cast<const char*>(sqlite3_column_text(title_, 0));
        sqlite3_reset(title_);
        lstrcpynA(info->item.pszText, text_.c_str(), info->item.cchTextMax);
    }
    static LRESULT CALLBACK HostProc(HWND hwnd, UINT message, WPARAM wp, LPARAM lp) {
        try {
            Peer* peer = reinterpret_cast<Peer*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
            NMHDR* header = reinterpret_cast<NMHDR*>(lp);
            if (peer && message == WM_NOTIFY && header->hwndFrom == peer->list_ && header->code == LVN_GETDISPINFOA) {
                peer->title(reinterpret_cast<NMLVDISPINFOA*>(lp));
                return 0;
            }
        } catch (...) {
            return 0;
        }
        return DefWindowProcA(hwnd, message, wp, lp);
    }

    sqlite3* db_ = nullptr;
    sqlite3_stmt* match_ = nullptr;
    sqlite3_stmt* title_ = nullptr;
    std::string path_, text_;
    HWND host_ = nullptr, list_ = nullptr, edit_ = nullptr;
    std::vector<sqlite3_int64> rows_;
};

// The article view on the screen with a laid-out article in it.
bool ArticleShown(Reader& reader) {
    DocKycfPane* article = reader.find<DocKycfPane>();
    ARendererView* view = article ? article->articleView() : nullptr;
    return view && view->hasFlags(ADisplayComponent::kVisible) && IsWindowVisible(reader.hwnd) &&
           article->articleRenderer() && article->articleRenderer()->model();
}

// A named event: its name shows in the server's trace.
HANDLE MarkTrace(const char* name) {
    return CreateEventA(nullptr, TRUE, FALSE, name);
}

struct Requests {
    std::vector<double> thread, all;  // per Return: of the marking thread, of every process
};

// The requests between each begin and end mark of the trace: a request line is
// "TTTT: name( ...", its reply "TTTT: name() = ...".
Requests CountRequests(const char* log) {
    Requests out;
    std::ifstream in(log);
    std::string line, marker;
    bool inside = false;
    double mine = 0, all = 0;
    while (std::getline(in, line)) {
        size_t colon = line.find(": ");
        if (colon == std::string::npos || colon > 8)
            continue;
        size_t paren = line.find('(', colon);
        if (paren == std::string::npos || line.compare(paren, 2, "( ") != 0 ||
            line.find_first_not_of("abcdefghijklmnopqrstuvwxyz_0123456789", colon + 2) != paren)
            continue;
        if (line.find("svbench-return-begin") != std::string::npos) {
            inside = true;
            marker = line.substr(0, colon);
            mine = all = 0;
        } else if (inside && line.find("svbench-return-end") != std::string::npos) {
            inside = false;
            out.thread.push_back(mine);
            out.all.push_back(all);
        } else if (inside) {
            ++all;
            mine += line.compare(0, colon, marker) == 0;
        }
    }
    return out;
}

// Brings a top-level window above the other side's and lets it paint, outside the timing.
void Raise(HWND window) {
    SetWindowPos(window, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
}

// The quick search's pane, searches left with the questions that have disc
// hits; null, with the reason printed, without the field or questions.
DockTopLeftRechPane* QuickField(Reader& reader, std::vector<Search>* searches) {
    // A question without a disc hit turns to the online list and its server:
    // another road, left out.
    searches->erase(std::remove_if(searches->begin(), searches->end(),
                                   [&](const Search& s) {
                                       std::unique_ptr<ASearchRequest> request(
                                           reader.app->dataLocation()->createRequest("TEXT", s.form.c_str()));
                                       request->setQuestion(1, s.question.c_str(), 0);
                                       request->execute(0);
                                       return request->getResultCount(0) <= 0;
                                   }),
                    searches->end());
    DockTopLeftRechPane* rech = reader.find<DockTopLeftRechPane>();
    if (!rech || !rech->field() || searches->empty()) {
        std::printf("no quick search field, or no queries\n");
        return nullptr;
    }
    return rech;
}

// Each search typed into the quick search field and sent, to the painted
// screen, the composed peer's same search in turn with ours at each pass.
int Searches(Reader& reader, std::vector<Search> searches, const std::string& work) {
    size_t asked = searches.size();
    DockTopLeftRechPane* rech = QuickField(reader, &searches);
    if (!rech)
        return 1;
    Peer peer;
    bool withPeer = peer.open(work, reader.app->dataLocation());
    const HWND ourWindow = GetAncestor(reader.hwnd, GA_ROOT);
    const int passes = Passes();
    const char* log = std::getenv("SV_BENCH_SERVER_LOG");
    std::vector<double> ours;
    std::vector<Peer::Times> theirs;
    std::vector<std::string> rtf(searches.size());  // the article ours showed, for the peer
    size_t shown = 0, listed = 0;
    for (int pass = 0; pass <= passes; ++pass) {
        Raise(ourWindow);
        reader.pump();
        for (size_t i = 0; i < searches.size(); ++i) {
            const Search& s = searches[i];
            std::string typed = (s.form == "RECHTHES" ? "~" : "") + s.question;
            rech->field()->setText(typed.c_str());
            AppState* before = reader.frame->currentState();
            long docBefore = before ? before->getDocNo() : -1;
            HANDLE begin = log && pass > 0 ? MarkTrace("svbench-return-begin") : nullptr;
            double a = SampleNow();
            rech->field()->notifyOwner(2);  // Enter in the field, as the field tells its pane
            reader.paint();
            double ms = 1000 * (SampleNow() - a);
            if (begin) {
                // Closed after the end mark: only the Return's requests lie between the marks.
                HANDLE end = MarkTrace("svbench-return-end");
                CloseHandle(begin);
                if (end)
                    CloseHandle(end);
            }
            if (std::getenv("SV_BENCH_VERBOSE"))
                std::fprintf(stderr, "%d %9.1f ms  %s\n", pass, ms, typed.c_str());
            AppState* after = reader.frame->currentState();
            long doc = after ? after->getDocNo() : -1;
            if (pass == 0) {
                bool exported = true;
                if (withPeer)
                    rtf[i] = ShownRtf(reader, doc, &exported);
                continue;
            }
            ours.push_back(ms);
            listed += after != before;
            shown += doc >= 0 && doc != docBefore && ArticleShown(reader);
        }
        if (pass == 0)
            PrintWorkingSet(("after " + std::to_string(searches.size()) + " searches (before the peer):").c_str());
        if (!withPeer)
            continue;
        Raise(peer.window());
        for (size_t i = 0; i < searches.size(); ++i) {
            Peer::Times t = peer.show(searches[i].fts, rtf[i]);
            if (std::getenv("SV_BENCH_VERBOSE"))
                std::fprintf(stderr, "%d %9.1f ms  peer %s (list %.1f ms, article %.1f ms, %zu bytes of RTF)\n", pass,
                             t.total, searches[i].fts.c_str(), t.list, t.article, rtf[i].size());
            if (pass > 0)
                theirs.push_back(t);
        }
    }
    if (withPeer)
        Raise(ourWindow);
    reader.pump();
    Shot();
    std::vector<double> engine = EngineTimes(reader.app->dataLocation(), searches, passes);
    Figures f = Summarise(ours), e = Summarise(engine);
    std::printf("%zu searches with disc hits of %zu, %d passes; a new result state %zu times, a new article shown "
                "%zu times\n",
                searches.size(), asked, passes, listed, shown);
    std::printf("reader, Return to painted screen: median %8.3f ms, p99 %8.3f ms\n", f.median, f.p99);
    if (withPeer) {
        auto part = [&](double Peer::Times::*p) {
            std::vector<double> ms;
            for (const Peer::Times& t : theirs)
                ms.push_back(t.*p);
            return Summarise(ms);
        };
        Figures t = part(&Peer::Times::total);
        std::printf("composed peer, query to painted:  median %8.3f ms, p99 %8.3f ms (ours / peer: median %.2f, "
                    "p99 %.2f)\n",
                    t.median, t.p99, t.median > 0 ? f.median / t.median : 0.0, t.p99 > 0 ? f.p99 / t.p99 : 0.0);
        const std::pair<const char*, double Peer::Times::*> parts[] = {{"the fts5 query:  ", &Peer::Times::query},
                                                                      {"the list view:   ", &Peer::Times::list},
                                                                      {"the rich edit:   ", &Peer::Times::article}};
        for (const auto& p : parts) {
            Figures x = part(p.second);
            std::printf("  of which %s      median %8.3f ms, p99 %8.3f ms\n", p.first, x.median, x.p99);
        }
    }
    std::printf("request alone:                    median %8.3f ms, p99 %8.3f ms (screens / engine = %.2f)\n",
                e.median, e.p99, e.median > 0 ? f.median / e.median : 0.0);
    if (log) {
        Requests r = CountRequests(log);
        Figures mine = Summarise(r.thread), all = Summarise(r.all);
        std::printf("server requests per Return (%zu counted): the reader's thread median %.0f, p99 %.0f; "
                    "all processes median %.0f, p99 %.0f\n",
                    r.thread.size(), mine.median, mine.p99, all.median, all.p99);
    }
    return 0;
}

// SV_BENCH_VERBOSE: what the process holds after each action, to tell a
// growth at every action (a leak) from steps (caches filling).
void Step(const char* action, size_t n) {
    if (!std::getenv("SV_BENCH_VERBOSE"))
        return;
    Holding h = Measure();
    std::fprintf(stderr, "%s %3zu: private %7.2f MB, heap %7.3f MB in %6ld blocks, objects %9.0f bytes in %lu "
                 "segments; bitmaps %ld, fonts %ld, brushes %ld, DCs %ld\n",
                 action, n, h.committed, h.heap, h.blocks, h.objects * 1048576.0,
                 static_cast<unsigned long>(BAlloc::segmentCount()), h.bitmaps, h.fonts, h.brushes, h.dcs);
}

// What the reader alone holds after 100 Returns in the quick search field
// over the field's questions, then the same 100 again, then 100 result
// clicks as in the article mode and the same 100 again; no peer is made.
int Memory(Reader& reader, std::vector<Search> searches) {
    DockTopLeftRechPane* rech = QuickField(reader, &searches);
    if (!rech)
        return 1;
    const size_t kSearches = 100;
    for (int round = 1; round <= 2; ++round) {
        for (size_t i = 0; i < kSearches; ++i) {
            const Search& s = searches[i % searches.size()];
            rech->field()->setText(((s.form == "RECHTHES" ? "~" : "") + s.question).c_str());
            rech->field()->notifyOwner(2);  // Enter in the field, as the field tells its pane
            reader.paint();
            Step("search", i);
        }
        PrintWorkingSet(("after " + std::to_string(round * kSearches) + " searches:").c_str());
    }
    std::vector<long> docs;
    DockLCRPane* centre = ArticleDocs(reader, &docs);
    if (!centre)
        return 1;
    centre->showDocument(docs.back());
    reader.paint();
    for (int round = 1; round <= 2; ++round) {
        for (size_t i = 0; i < docs.size(); ++i) {
            centre->openDocument(docs[i]);
            reader.paint();
            Step("article", i);
        }
        PrintWorkingSet(("after " + std::to_string(round * docs.size()) + " articles:").c_str());
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 4) {
        std::printf("usage: bench_screens article|quick|field|memory SAMPLE_FOLDER WORK_FOLDER\n");
        return 2;
    }
    const std::string mode = argv[1], sample = argv[2], work = argv[3];
    std::vector<Search> searches;
    if (mode == "field")
        searches = FieldSearches(work);  // read before the reader fills the heap
    if (mode == "queries")
        return WriteFieldSearches(work);
    if (mode == "memory")
        searches = FieldSearchesApart(sample, work);
    SetCurrentDirectoryA(sample.c_str());
    try {
        Reader reader;
        if (!reader.start()) {
            std::printf("the reader did not start on %s (no display?)\n", sample.c_str());
            return 1;
        }
        PrintWorkingSet("at start:");
        if (mode == "article")
            return Articles(reader);
        if (mode == "quick")
            return Searches(reader, FixedSearches(), work);
        if (mode == "field")
            return Searches(reader, searches, work);
        if (mode == "memory")
            return Memory(reader, searches);
        std::printf("unknown mode %s\n", mode.c_str());
        return 2;
    } catch (const AError& e) {
        std::printf("the reader failed: %s\n", typeid(e).name());
        return 1;
    }
}
