// List panes: the list view, the kept selection and the rows' keys.
#include "app/lists/ListPane.h"

#include <cstdlib>
#include <cstring>
#include <new>

#include "app/lists/AListApp.h"
#include "app/lists/ASVEditFilter.h"
#include "app/state/ABaseState.h"
#include "docengine/model/ADocModel.h"
#include "docengine/render/ARenderer.h"
#include "docengine/render/ARendererViews.h"
#include "docengine/text/AReader.h"
#include "framework/components/AKindSet.h"
#include "framework/components/ALayoutLoader.h"
#include "framework/controls/AEditBox.h"

SV_IMPLEMENT_CLASS(ListPane, 0, AClientPane)
SV_IMPLEMENT_CLASS(ListEditPane, 0, ListPane)

namespace {

// The first and last rows the renderer's model marks, -1 when none.
void MarkedRows(ARenderer* renderer, long rows, long* first, long* last) {
    *first = *last = -1;
    ADocModel* model = renderer->model();
    for (long row = 0; model && row < rows; ++row) {
        if (!model->isMarkedStart(row))
            continue;
        if (*first < 0)
            *first = row;
        *last = row;
    }
}

}  // namespace

int16_t IsSetNumberText(const char* text) {
    return text && *text && atol(text) != -1 ? 1 : 0;
}

ListPane::ListPane() {
    resetState(0);
}

void ListPane::readFrom(AMemoryStream& stream) {
    AClientPane::readFrom(stream);
    ALayoutLoader::readEndMark(stream, "layout", 500);
}

void ListPane::setUpItems() {
    AClientPane::setUpItems();
    listView = CheckAlloc(itemAs<ARendererView>(kListCommand), "layout", 520);
    listView->setMouseSensitive(0);
    listView->addLink(this);
    AListApp::current().createListRenderer(listView, 0, 3);
}

void ListPane::detachItems() {
    AClientPane::detachItems();
    ReleaseAndNull(lineGetter);
    listView = nullptr;
}

void ListPane::bindActions() {
    AClientPane::bindActions();
    addAction(kListCommand, this, kListCommand, nullptr);
}

ACommand* ListPane::doCommand(int16_t id, long argument) {
    if (id != kListCommand)
        return AClientPane::doCommand(id, argument);
    if (ARenderer* renderer = listView ? listView->renderer() : nullptr) {
        MarkedRows(renderer, lineGetter ? lineGetter->getLineCount() : 0, &selFirst, &selLast);
        selectionChanged(renderer);
    }
    return noChangeCommand();
}

int16_t ListPane::commandStatus(int16_t id, long argument) {
    return id == kListCommand ? 1 : AClientPane::commandStatus(id, argument);
}

void ListPane::saveState(ABaseState* part) {
    AClientPane::saveState(part);
    if (!part)
        return;
    if (selFirstKey > -1)
        part->fUserInfo.slot(selFirstKey) = selFirst;
    if (selLastKey > -1)
        part->fUserInfo.slot(selLastKey) = selLast;
}

void ListPane::clearSavedSelection(ABaseState* part) {
    if (!part)
        return;
    if (selFirstKey > -1)
        part->fUserInfo.slot(selFirstKey) = -1;
    if (selLastKey > -1)
        part->fUserInfo.slot(selLastKey) = -1;
}

void ListPane::readSavedSelection(ABaseState* part) {
    selFirst = part->fUserInfo.slot(selFirstKey);
    selLast = part->fUserInfo.slot(selLastKey);
}

void ListPane::resetState(long argument) {
    (void)argument;
    selFirst = selLast = 0;
}

AString ListPane::getLineKey(long line) {
    if (!lineGetter)
        return AString();
    AString text;
    lineGetter->getLine(text, line);
    const char* hash = strchr(text.c_str(), '#');
    return hash ? AString(hash + 1) : AString();
}

int16_t ListPane::isListEmpty() {
    if (AListApp::current().getResultCount() == 0)
        return 1;
    return lineGetter && lineGetter->getLineCount() > 0 ? 0 : 1;
}

void ListPane::setLineGetter(ALineGetter* getter) {
    AssignRef(lineGetter, getter);
}

void ListEditPane::readFrom(AMemoryStream& stream) {
    ListPane::readFrom(stream);
    ALayoutLoader::readEndMark(stream, "layout", 620);
}

void ListEditPane::setUpItems() {
    ListPane::setUpItems();
    editField = CheckAlloc(itemAs<AEditBox>(kEditCommand), "layout", 645);
    editField->setFilter(CheckAlloc(new (std::nothrow) ASVEditFilter(editField), "layout", 646));
}

void ListEditPane::detachItems() {
    editField = nullptr;
    ListPane::detachItems();
}

void ListEditPane::bindActions() {
    ListPane::bindActions();
    addAction(kEditCommand, this, kEditCommand, nullptr);
}

int16_t ListEditPane::commandStatus(int16_t id, long argument) {
    return id == kEditCommand ? 1 : ListPane::commandStatus(id, argument);
}

void ListEditPane::linkChanged(AComponent* source, const AKindSet& kinds) {
    ListPane::linkChanged(source, kinds);
    if (editField && source == editField && kinds.contains(1))
        editField->selectAll();
}

void ListEditPane::clearEdit() {
    if (editField)
        editField->setText("");
}

void ListPane::selectionChanged(ARenderer* renderer) {
    (void)renderer;
    openClickedLine(listView);
}

void ListPane::clearList() {
    setLineGetter(nullptr);
    if (ARenderer* renderer = listView ? listView->renderer() : nullptr)
        renderer->setTextModelAlt("", nullptr);
}

bool ListPane::shownStates(AppState*& cur, ALeftState*& left) {
    ARenderer* renderer = listView ? listView->renderer() : nullptr;
    cur = currentState();
    left = leftState();
    return renderer && renderer->model() && cur && left;
}

bool ListPane::answersEditCommands() {
    ARenderer* renderer = listView ? listView->renderer() : nullptr;
    return renderer && renderer->model() && !isListEmpty();
}
