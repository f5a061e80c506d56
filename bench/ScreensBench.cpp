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
//            and 99th percentile, beside the same questions through a search
//            request alone and through FTS5 over the same words;
//   field    Enter in the field to the painted result screen over the search
//            benchmark's single-word and AND queries, beside the request's
//            own median for them.
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
    // What the command changed, on the screen.
    void paint() {
        pump();
        RedrawWindow(GetAncestor(hwnd, GA_ROOT), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
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

// The search that the result list would come from: enough text articles for
// the run, each with hits to highlight.
int Articles(Reader& reader) {
    std::unique_ptr<ASearchRequest> request(reader.app->dataLocation()->createRequest("TEXT", "RECH"));
    const char* question = "calque OU image OU fichier OU couleur";
    request->setQuestion(1, question, 0);
    request->execute(0);
    ARefHold<ALoScore> results(new ALoScore(*request, 1));
    ARefHold<ASVLoSearchState> search(new ASVLoSearchState());
    search->setQuery(question);
    search->setTextResults(results.get());
    reader.frame->currentState()->setSearchState(search.get());
    std::vector<long> docs;
    for (long i = 0; i < results->getCount() && docs.size() < kArticles; ++i) {
        long d = results->seek(i);
        if (reader.app->isTextDoc(d))
            docs.push_back(d);
    }
    DockLCRPane* centre = DockLCRPane::of(reader.frame);
    if (!centre || docs.size() < kArticles) {
        std::printf("the search gave %zu text articles, or no centre switcher\n", docs.size());
        return 1;
    }
    char temp[MAX_PATH];
    GetTempPathA(sizeof temp, temp);
    const std::string exported = std::string(temp) + "svbench-article.rtf";
    std::vector<double> ours, painting;
    std::vector<std::string> rtf;
    size_t plain = 0;
    // From the home screen to the reading screen first: the clicks come from the result list there.
    centre->showDocument(docs.back());
    reader.paint();
    for (int pass = 0; pass < 2; ++pass) {
        for (long d : docs) {
            double a = SampleNow();
            centre->openDocument(d);
            reader.pump();
            double b = SampleNow();
            reader.paint();
            double ms = 1000 * (SampleNow() - a);
            if (pass == 0)
                continue;  // warms the caches
            ours.push_back(ms);
            painting.push_back(1000 * (SampleNow() - b));
            // Outside the timing: the article view's own export, else its text as plain RTF.
            DocKycfPane* article = reader.find<DocKycfPane>();
            ARendererView* view = article ? article->articleView() : nullptr;
            DeleteFileA(exported.c_str());
            bool written = view && view->exportRtfFile(exported.c_str(), true);
            std::string text = written ? ReadWhole(exported) : "";
            if (text.empty()) {
                ++plain;
                std::unique_ptr<ASearchBase> base(reader.app->dataLocation()->openBase("TEXT:DOC", nullptr));
                text = base ? ToRtf(base->getText(0, d, 1).c_str()) : ToRtf("");
            }
            rtf.push_back(text);
        }
    }
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
    std::printf("  of which the paint:                median %7.3f ms, worst %7.3f ms\n", p.median, p.worst);
    if (edit.ready())
        std::printf("rich edit, RTF stream-in and paint:  median %7.3f ms, worst %7.3f ms (ours / theirs = %.2f)\n",
                    t.median, t.worst, t.median > 0 ? f.median / t.median : 0.0);
    else
        std::printf("rich edit: riched20.dll did not load\n");
    return 0;
}

struct Search {
    std::string form, question, fts;  // form "RECH" or "RECHTHES"; fts empty: not asked of FTS5
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
            out.push_back({"RECH", q.ours, ""});
    return out;
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

// FTS5 over the same words, a contentless table built from the word items in
// a scratch file; its queries inside one read transaction.
std::vector<double> Fts5Times(const std::string& work, const std::vector<Search>& searches, int passes) {
    fts_queries::Corpus corpus;
    if (!fts_queries::ReadCorpus(work + "\\words.txt", &corpus))
        return {};
    char temp[MAX_PATH];
    GetTempPathA(sizeof temp, temp);
    std::string path = std::string(temp) + "svbench-screens.db";
    DeleteFileA(path.c_str());
    sqlite3* db = nullptr;
    std::vector<double> ms;
    if (sqlite3_open(path.c_str(), &db) != SQLITE_OK)
        return ms;
    bool ok = sqlite3_exec(db,
                           "CREATE VIRTUAL TABLE t USING fts5(body, content='', "
                           "tokenize='unicode61 remove_diacritics 2'); BEGIN",
                           nullptr, nullptr, nullptr) == SQLITE_OK;
    sqlite3_stmt* st = nullptr;
    ok = ok && sqlite3_prepare_v2(db, "INSERT INTO t(rowid, body) VALUES(?1, ?2)", -1, &st, nullptr) == SQLITE_OK;
    for (auto d = corpus.docs.begin(); ok && d != corpus.docs.end(); ++d) {
        std::string text;
        for (const fts_queries::Occurrence& o : d->second)
            text += (text.empty() ? "" : " ") + o.key;
        text = fts_queries::Utf8(text);
        sqlite3_bind_int64(st, 1, d->first);
        sqlite3_bind_text(st, 2, text.c_str(), -1, SQLITE_TRANSIENT);
        ok = sqlite3_step(st) == SQLITE_DONE;
        sqlite3_reset(st);
    }
    sqlite3_finalize(st);
    corpus = fts_queries::Corpus();
    ok = ok && sqlite3_exec(db, "COMMIT; INSERT INTO t(t) VALUES('optimize'); BEGIN", nullptr, nullptr, nullptr) ==
                   SQLITE_OK;
    ok = ok && sqlite3_prepare_v2(db, "SELECT rowid FROM t WHERE t MATCH ?1", -1, &st, nullptr) == SQLITE_OK;
    for (int pass = 0; ok && pass <= passes; ++pass)
        for (const Search& s : searches) {
            double a = SampleNow();
            sqlite3_bind_text(st, 1, s.fts.c_str(), -1, SQLITE_STATIC);
            while (sqlite3_step(st) == SQLITE_ROW) {
            }
            sqlite3_reset(st);
            if (pass > 0)
                ms.push_back(1000 * (SampleNow() - a));
        }
    if (!ok)
        std::printf("fts5: %s\n", sqlite3_errmsg(db));
    sqlite3_finalize(st);
    sqlite3_close(db);
    DeleteFileA(path.c_str());
    return ms;
}

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

// Each search typed into the quick search field and sent, to the painted screen.
int Searches(Reader& reader, std::vector<Search> searches, const std::string& work, bool withFts) {
    // A question without a disc hit turns to the online list and its server:
    // another road, left out.
    size_t asked = searches.size();
    searches.erase(std::remove_if(searches.begin(), searches.end(),
                                  [&](const Search& s) {
                                      std::unique_ptr<ASearchRequest> request(
                                          reader.app->dataLocation()->createRequest("TEXT", s.form.c_str()));
                                      request->setQuestion(1, s.question.c_str(), 0);
                                      request->execute(0);
                                      return request->getResultCount(0) <= 0;
                                  }),
                   searches.end());
    DockTopLeftRechPane* rech = reader.find<DockTopLeftRechPane>();
    if (!rech || !rech->field() || searches.empty()) {
        std::printf("no quick search field, or no queries\n");
        return 1;
    }
    const int passes = Passes();
    const char* log = std::getenv("SV_BENCH_SERVER_LOG");
    std::vector<double> ours;
    size_t shown = 0, listed = 0;
    for (int pass = 0; pass <= passes; ++pass)
        for (const Search& s : searches) {
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
            if (pass == 0)
                continue;
            ours.push_back(ms);
            AppState* after = reader.frame->currentState();
            listed += after != before;
            shown += after && after->getDocNo() >= 0 && after->getDocNo() != docBefore && ArticleShown(reader);
        }
    Shot();
    std::vector<double> engine = EngineTimes(reader.app->dataLocation(), searches, passes);
    Figures f = Summarise(ours), e = Summarise(engine);
    std::printf("%zu searches with disc hits of %zu, %d passes; a new result state %zu times, a new article shown "
                "%zu times\n",
                searches.size(), asked, passes, listed, shown);
    std::printf("reader, Return to painted screen: median %8.3f ms, p99 %8.3f ms\n", f.median, f.p99);
    std::printf("request alone:                    median %8.3f ms, p99 %8.3f ms (screens / engine = %.2f)\n",
                e.median, e.p99, e.median > 0 ? f.median / e.median : 0.0);
    if (withFts) {
        Figures t = Summarise(Fts5Times(work, searches, passes));
        std::printf("fts5, same words:                 median %8.3f ms, p99 %8.3f ms\n", t.median, t.p99);
    }
    if (log) {
        Requests r = CountRequests(log);
        Figures mine = Summarise(r.thread), all = Summarise(r.all);
        std::printf("server requests per Return (%zu counted): the reader's thread median %.0f, p99 %.0f; "
                    "all processes median %.0f, p99 %.0f\n",
                    r.thread.size(), mine.median, mine.p99, all.median, all.p99);
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 4) {
        std::printf("usage: bench_screens article|quick|field SAMPLE_FOLDER WORK_FOLDER\n");
        return 2;
    }
    const std::string mode = argv[1], sample = argv[2], work = argv[3];
    std::vector<Search> searches;
    if (mode == "field")
        searches = FieldSearches(work);  // read before the reader fills the heap
    SetCurrentDirectoryA(sample.c_str());
    try {
        Reader reader;
        if (!reader.start()) {
            std::printf("the reader did not start on %s (no display?)\n", sample.c_str());
            return 1;
        }
        if (mode == "article")
            return Articles(reader);
        if (mode == "quick")
            return Searches(reader, FixedSearches(), work, true);
        if (mode == "field")
            return Searches(reader, searches, work, false);
        std::printf("unknown mode %s\n", mode.c_str());
        return 2;
    } catch (const AError& e) {
        std::printf("the reader failed: %s\n", typeid(e).name());
        return 1;
    }
}
