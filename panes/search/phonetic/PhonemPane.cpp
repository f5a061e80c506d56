// The "Forme approchante" window's proposals and its three commands.
#include "panes/search/phonetic/PhonemPane.h"

#include <new>

#include "app/lists/AListApp.h"
#include "app/phon/AStringLongDicLineGetter.h"
#include "app/phon/IPhonAbp.h"
#include "base/procedural/AError.h"
#include "docengine/render/AListRenderer.h"
#include "docengine/render/ARenderer.h"
#include "docengine/render/ARendererViews.h"
#include "docengine/model/ADocModel.h"

SV_IMPLEMENT_CLASS(PhonemPane, 0, AWindow)

namespace {

const char kFile[] = "PhonemPane";
const long kLinkHit = 3;

ARendererView* ViewOf(AWindow* window, int16_t id, int line) {
    AClusterItem* item = window->findItem(id, false);
    void* view = item ? item->castTo(&ARendererView::classRecord) : nullptr;
    return static_cast<ARendererView*>(CheckAlloc(view, kFile, line));
}

// The last marked row of the list, -1 for none.
long LastMarkedRow(ARenderer* renderer, long rows) {
    ADocModel* model = renderer ? renderer->model() : nullptr;
    long last = -1;
    for (long row = 0; model && row < rows; ++row)
        if (model->isMarkedStart(row))
            last = row;
    return last;
}

}  // namespace

PhonemPane::~PhonemPane() {
    ReleaseAndNull(getter_);
}

IPhonAbp* PhonemPane::proposals() {
    return IPhonAbp::application();
}

void PhonemPane::setUpItems() {
    AWindow::setUpItems();
    header_ = ViewOf(this, kHeader, 225);
    list_ = ViewOf(this, kList, 226);
    setUpHeaderView(header_);
    list_->setMouseSensitive(0);
    list_->addLink(this);
    AListApp::current().createListRenderer(list_, 1, 3);
}

void PhonemPane::detachItems() {
    AWindow::detachItems();
    ReleaseAndNull(getter_);
    header_ = list_ = nullptr;
}

void PhonemPane::bindActions() {
    AWindow::bindActions();
    for (int16_t id : {kList, kCancel, kTake})
        addAction(id, this, id, nullptr);
}

int16_t PhonemPane::commandStatus(int16_t id, long argument) {
    return id == kList || id == kCancel || id == kTake ? 1 : AWindow::commandStatus(id, argument);
}

ACommand* PhonemPane::finish(const AString& chosen) {
    if (IPhonAbp* phon = proposals())
        if (!chosen.empty())
            phon->setChosenText(chosen.c_str());
    endLocalLoop();
    return closeWindow();
}

ACommand* PhonemPane::doCommand(int16_t id, long argument) {
    ARenderer* renderer = list_ ? list_->renderer() : nullptr;
    switch (id) {
    case kList: {
        if (!renderer || renderer->getHitKind() != kLinkHit)
            return noChangeCommand();
        AString value = renderer->getHitName();
        return value.empty() ? noChangeCommand() : finish(value);
    }
    case kCancel:
        return finish(AString());
    case kTake: {
        AString chosen;
        long line = getter_ ? LastMarkedRow(renderer, getter_->getLineCount()) : -1;
        if (line >= 0) {
            AString row;
            getter_->getLine(row, line);
            const char* hash = strchr(row.c_str(), '#');
            chosen = hash ? AString(hash + 1) : AString();
        }
        return finish(chosen);
    }
    default:
        return AWindow::doCommand(id, argument);
    }
}

void PhonemPane::refreshList() {
    IPhonAbp* phon = proposals();
    ReleaseAndNull(getter_);
    if (!phon)
        return;
    getter_ = CheckAlloc(new (std::nothrow) AStringLongDicLineGetter(
                             &phon->getResults(), [this](const char* text) { return escapeRowText(text); }),
                         kFile, 313);
    getter_->addRef();
    if (ARenderer* renderer = list_ ? list_->renderer() : nullptr) {
        renderer->setSourceModel(getter_, nullptr);
        renderer->enableTables('*');
        renderer->layOut();
    }
    headerText_ = AString("/C/3");
    headerText_ += escapeRowText(phon->getWord().c_str());
    if (ARenderer* renderer = header_ ? header_->renderer() : nullptr) {
        renderer->setTextModel(headerText_.c_str(), nullptr);
        renderer->layOut();
    }
}
