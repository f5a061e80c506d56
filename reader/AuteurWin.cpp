// The author window: its views, the author's texts and articles, the choice of an article.
#include "reader/AuteurWin.h"

#include <cstdlib>
#include <new>

#include "app/frame/Frame1.h"
#include "app/lines/ALineSorter.h"
#include "app/lines/SortableLineGetter.h"
#include "app/lists/AListApp.h"
#include "reader/TheApp.h"
#include "reader/ToolWindowViews.h"
#include "base/procedural/AError.h"
#include "docengine/render/AListRenderer.h"
#include "docengine/render/ARendererViews.h"
#include "docengine/render/ATextRenderer.h"
#include "panes/docks/workspacewin/AWorkspaceWinApp.h"
#include "search/facade/ALoSimple.h"
#include "search/facade/ASearchBase.h"

SV_IMPLEMENT_CLASS(AuteurWin, 0, AWindow)

namespace {

// Base indexes of the descriptor table: GLB, AUTEURS.
const short kGlbBase = 1;
const short kAuthorsBase = 7;
// Tables of AUTEURS: DOC, NOMS, DOCLIST.
const short kDocTable = 0, kNamesTable = 1, kDocListTable = 2;

}  // namespace

AuteurWin::~AuteurWin() {
    releaseList();
}

void AuteurWin::releaseList() {
    ReleaseAndNull(rows_);
    ReleaseAndNull(articles_);
}

void AuteurWin::setUpItems() {
    AWindow::setUpItems();
    notice_ = RequiredView(this, kNotice);
    second_ = RequiredView(this, kSecondText);
    list_ = RequiredView(this, kArticles);
    SetUpTextView(notice_, 2);
    if (!ToolBase(kGlbBase))
        ThrowAssert("appclass", __LINE__);
    SetUpTextView(second_, 5);
    SetUpListView(this, list_);
}

void AuteurWin::bindActions() {
    AWindow::bindActions();
    addAction(kArticles, this, kArticles, nullptr);
}

int16_t AuteurWin::commandStatus(int16_t id, long argument) {
    return id == kArticles ? 1 : AWindow::commandStatus(id, argument);
}

ACommand* AuteurWin::doCommand(int16_t id, long argument) {
    if (id != kArticles)
        return AWindow::doCommand(id, argument);
    ARenderer* renderer = list_ ? list_->renderer() : nullptr;
    if (renderer && renderer->hitRecord())
        openArticle(renderer->getHitKind(), renderer->getHitName().c_str());
    return noChangeCommand();
}

void AuteurWin::openArticle(long hitKind, const char* name) {
    if (hitKind != 3 || !name || !*name)
        return;
    long docNo = std::atol(name);
    TheApp* app = TheApp::current();
    if (!app)
        return;
    if (app->docIsMedia(docNo)) {
        AWorkspaceWinApp::current().openMediaWindow(docNo, 0, 0);
        select();
    } else {
        app->showDocument(docNo);
    }
}

ACommand* AuteurWin::closeWindow() {
    if (!canClose(true))
        return noChangeCommand();
    TheApp* app = TheApp::current();
    if (Frame1* frame = app ? app->getFrame() : nullptr)
        frame->forgetAuthorWindow(this);
    return doClose();
}

void AuteurWin::showAuthor(long author, long docNo) {
    keptDoc_ = docNo;
    ASearchBase* authors = ToolBase(kAuthorsBase);
    if (authors && notice_ && second_) {
        if (ARenderer* r = notice_->renderer())
            r->setTextModel(authors->getText(kNamesTable, author, 0).c_str(), nullptr);
        if (ARenderer* r = second_->renderer())
            r->setStreamModel(authors->readToStream(kDocTable, author, 0), nullptr);
        notice_->redraw(true);
        second_->redraw(true);
    }
    AString list = authors ? authors->getText(kDocListTable, author, 0) : AString();
    ARenderer* renderer = list_ ? list_->renderer() : nullptr;
    if (!list.empty() && renderer) {
        ALo* lo = nullptr;
        try {
            lo = new (std::nothrow) ALoSimple(list.c_str());
        } catch (const AError&) {
            // A damaged article list leaves the list as it was.
            select();
            return;
        }
        releaseList();
        articles_ = CheckAlloc(lo, "appclass", __LINE__);
        articles_->addRef();
        rows_ = AListApp::current().newResultLineGetter(articles_);
        if (rows_) {
            rows_->addRef();
            auto* sorter = CheckAlloc(new (std::nothrow) AMemLongLineSorter(rows_, "NORM", -1, nullptr), "appclass",
                                      __LINE__);
            rows_->setLineMap(sorter);
            sorter->setSortField(0, 0);
            AListApp::setRowSpacing(renderer, 15, 5);
            renderer->setSourceModel(rows_, nullptr);
            renderer->enableTables('*');
            long at = articles_->indexOf(keptDoc_);
            renderer->scrollToPosition(at - 2 > 0 ? at - 2 : 0);
        }
    }
    select();
}
