// The dictionary window: its views, the word list and type-ahead, and the shown entry.
#include "panes/search/dico/DicoPane.h"

#include <windows.h>

#include <new>

#include "app/lexicon/ASVSearchInList.h"
#include "app/lines/ASVLexLineGetter.h"
#include "app/lists/AListApp.h"
#include "app/lists/ASVEditFilter.h"
#include "base/object/AFile.h"
#include "base/object/AFileStream.h"
#include "base/object/AFolderSpecs.h"
#include "base/procedural/AError.h"
#include "docengine/render/AListRenderer.h"
#include "docengine/render/ARendererViews.h"
#include "docengine/render/ATextRenderer.h"
#include "framework/controls/AEditBox.h"
#include "panes/search/dico/ADicoHost.h"
#include "panes/search/dico/mlParse.h"
#include "search/facade/ADataLocation.h"
#include "search/facade/AKeyIndex.h"

SV_IMPLEMENT_CLASS(DicoPane, 0, AWindow)

namespace {

const char kFile[] = "DicoPane";
const long kLinkHit = 3;
// The answer is a file of the temporary folder, overwritten by the next entry.
const char kAnswerFile[] = "synapse.xml";

// The entities of the library's answers; sorted in place by the first parse.
SgmlEntity gEntities[] = {
    {"sup", ">", 0},  {"inf", "<", 0}, {"ampersand", "&", 0}, {"semicolon", ";", 0}, {"nl", "\n", 0},
    {"cr", "\r", 0},  {"tab", "\t", 0}, {"bs", "\b", 0},       {"nbsp", "\xA0", 0},
};

template <class T>
T* Item(AWindow* window, int16_t id, long line) {
    AClusterItem* item = window->findItem(id, false);
    return CheckAlloc(item ? static_cast<T*>(item->castTo(&T::classRecord)) : nullptr, kFile, line);
}

void SetUpTextView(ARendererView* view) {
    ADicoHost* host = ADicoHost::current();
    if (!host)
        ThrowAssert(kFile, __LINE__);
    ATextRenderer* renderer = host->createTextRenderer(view, 11);
    if (renderer)
        renderer->options = static_cast<uint16_t>(renderer->options & ~8u);
}

}  // namespace

DicoPane::~DicoPane() {
    ReleaseAndNull(rows_);
    DeleteDataAccessAndNull(index_);
}

void DicoPane::setUpItems() {
    AWindow::setUpItems();
    word_ = Item<AEditBox>(this, kWordId, __LINE__);
    word_->setMaxLength(kMaxWord);
    word_->addLink(this);
    word_->setText("");
    word_->setFilter(CheckAlloc(new (std::nothrow) ASVEditFilter(word_), kFile, 99));
    list_ = Item<ARendererView>(this, kListId, __LINE__);
    list_->setMouseSensitive(0);
    list_->addLink(this);
    if (AListRenderer* renderer = AListApp::current().createListRenderer(list_, 0, 3))
        renderer->listOptions |= 1;
    title_ = Item<ARendererView>(this, kTitleId, __LINE__);
    SetUpTextView(title_);
    entry_ = Item<ARendererView>(this, kEntryId, __LINE__);
    SetUpTextView(entry_);
}

void DicoPane::closeWordList() {
    if (list_ && list_->renderer())
        list_->renderer()->setSourceModel(nullptr, nullptr);
    ReleaseAndNull(rows_);
    if (typeAhead_) {
        AComponent* c = typeAhead_;
        typeAhead_ = nullptr;
        DeleteComponent(c);
    }
    DeleteDataAccessAndNull(index_);
}

void DicoPane::detachItems() {
    AWindow::detachItems();
    // The type-ahead is a component of this window: the tree deletes it.
    typeAhead_ = nullptr;
    closeWordList();
    word_ = nullptr;
    list_ = title_ = entry_ = nullptr;
}

void DicoPane::bindActions() {
    AWindow::bindActions();
    addAction(kListId, this, kListId, nullptr);
    addAction(kWordId, this, kWordId, nullptr);
}

int16_t DicoPane::commandStatus(int16_t id, long argument) {
    return id == kListId || id == kWordId ? 1 : AWindow::commandStatus(id, argument);
}

ACommand* DicoPane::doCommand(int16_t id, long argument) {
    if (id == kListId) {
        ARenderer* renderer = list_ ? list_->renderer() : nullptr;
        if (renderer && renderer->model() && renderer->getHitKind() == kLinkHit)
            showEntry(renderer->getHitName().c_str());
        return noChangeCommand();
    }
    if (id == kWordId) {
        // Typing is followed through the field's link; the field's own command
        // comes only from Return, which shows the word typed.
        if (word_) {
            AString typed = word_->getText();
            lookUp(typed.c_str());
        }
        return noChangeCommand();
    }
    return AWindow::doCommand(id, argument);
}

ACommand* DicoPane::closeWindow() {
    if (!canClose(true))
        return noChangeCommand();
    if (ADicoHost* host = ADicoHost::current())
        host->forgetWindow(this);
    return doClose();
}

void DicoPane::open() {
    if (!index_)
        loadWordList("DICO");
    if (word_)
        word_->setText("");
}

void DicoPane::loadWordList(const char* key) {
    closeWordList();
    ARenderer* renderer = list_ ? list_->renderer() : nullptr;
    if (!renderer)
        ThrowAssert(kFile, 223);
    ADicoHost* host = ADicoHost::current();
    ADataLocation* location = host ? host->dataLocation() : nullptr;
    if (key && *key && location)
        index_ = OpenLexIndex(location, key);
    if (index_) {
        rows_ = CheckAlloc(new (std::nothrow) ASVAtlasLexLineGetter(index_), kFile, 227);
        rows_->addRef();
        renderer->setSourceModel(rows_, nullptr);
        renderer->enableTables('*');
        list_->redraw(true);
        typeAhead_ = CheckAlloc(new (std::nothrow) ASVSearchInList(this, kWordId, kListId, index_, 0), kFile, 234);
        AObject::completeNew(typeAhead_);
        word_->setVisible(true);
    }
    queueUpdate(0);
}

void DicoPane::lookUp(const char* word) {
    if (word_)
        word_->setText(word && *word ? word : "");
    if (!typeAhead_) {
        // Without a word list the library is asked for the word itself.
        showEntry(word ? word : "");
        return;
    }
    typeAhead_->findFieldText();
    ARenderer* renderer = list_ ? list_->renderer() : nullptr;
    showEntry(rowWord(renderer ? renderer->currentItem() : -1).c_str());
}

AString DicoPane::rowWord(long row) {
    if (!rows_ || row < 0)
        return AString();
    AString line;
    rows_->getLine(line, row);
    // The first "#" that the row's name does not escape.
    const char* text = line.c_str();
    for (const char* p = text; *p; ++p) {
        if (*p == '\\' && p[1]) {
            ++p;
            continue;
        }
        if (*p == '#')
            return AString(p + 1);
    }
    return AString();
}

void DicoPane::showEntry(const char* word) {
    ADicoHost* host = ADicoHost::current();
    if (!host)
        ThrowAssert(kFile, 192);
    host->ask(word ? word : "");
    AString answer = host->getDefinition();
    if (answer.empty())
        return;
    AAppTempFolderSpec folder;
    AFileSpec path(folder, kAnswerFile);
    AFile file(path, 0, kPlainFileOptions, false);
    {
        AFileStream out(file, "wb", 0);
        out.write(answer.c_str(), answer.length());
        out.close();
    }
    AFileStream in(file, "rb", 0);
    AMLDicoParser parser(0x41);
    parser.setEntities(gEntities, static_cast<int32_t>(sizeof gEntities / sizeof gEntities[0]));
    // A markup error keeps what came before it: the entry shows as far as it goes.
    parser.parse(&in);
    in.close();
    showDefinition(parser.getEntry().c_str());
    showTitle(parser.getTitle().c_str());
}

void DicoPane::showTitle(const char* text) {
    ARenderer* renderer = title_ ? title_->renderer() : nullptr;
    if (!renderer)
        ThrowAssert(kFile, 176);
    AString model("/Z/9");
    model += text ? text : "";
    renderer->setTextModel(model.c_str(), nullptr);
    title_->redraw(true);
}

void DicoPane::showDefinition(const char* text) {
    ARenderer* renderer = entry_ ? entry_->renderer() : nullptr;
    if (!renderer)
        ThrowAssert(kFile, 183);
    renderer->setTextModel(text ? text : "", nullptr);
    if (auto* textRenderer = dynamic_cast<ATextRenderer*>(renderer))
        if (ADicoHost* host = ADicoHost::current())
            textRenderer->menuCallBack = host->selContextMenu();
    entry_->redraw(true);
}
