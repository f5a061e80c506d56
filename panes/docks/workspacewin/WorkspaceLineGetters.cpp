// Rows of the dossier and note windows.
#include "panes/docks/workspacewin/WorkspaceLineGetters.h"

#include <cstdlib>
#include <cstring>
#include <string>

#include "base/procedural/AError.h"
#include "docengine/model/AHiliteRangeMap.h"
#include "panes/docks/workspace/ADossierManager.h"
#include "panes/docks/workspace/ANoteManager.h"
#include "panes/docks/workspacewin/AWorkspaceWinApp.h"
#include "search/facade/ASearchBase.h"

namespace {

const char kCopy[] = " (Copie ";
const int16_t kOnlineIconType = 19;

// The fields of a result text at TAB (a missing field is empty).
std::string FieldOf(const char* text, int index) {
    const char* p = text ? text : "";
    for (int i = 0; i < index; ++i) {
        p = std::strchr(p, '\t');
        if (!p)
            return std::string();
        ++p;
    }
    const char* end = p + std::strcspn(p, "\t\r\n");
    return std::string(p, end);
}

// A record of the document base as a result text: the record itself when it
// has its fields, else the document's number, its icon type and the record
// as title, so that the row still links to the document.
AString ResultText(const AString& record, long document) {
    if (std::strchr(record.c_str(), '\t'))
        return record;
    std::string text =
        std::to_string(document) + "\t" + std::to_string(AWorkspaceWinApp::current().getDocIconType(document)) + "\t";
    return AString((text + AWorkspaceWinApp::current().escapeMarkup(record.c_str()).c_str()).c_str());
}

}  // namespace

AString ASVResultLineGetterCallBack::formatLine(long line, const AString& raw, int16_t rowMarkup) {
    (void)line, (void)rowMarkup;
    std::string link = FieldOf(raw.c_str(), 0);
    if (link.empty())
        return AString();
    int icon = std::atoi(FieldOf(raw.c_str(), 1).c_str());
    std::string row = style ? "/E" : "";
    row += "/!" + std::to_string(icon + 4) + "!/ " + FieldOf(raw.c_str(), 2) + "#" + link;
    return AString(row.c_str());
}

AString APostitLineGetterCallBack::formatLine(long line, const AString& raw, int16_t rowMarkup) {
    (void)rowMarkup;
    if (raw.empty())
        return AString();
    return AString(("/E" + std::string(raw.c_str()) + "#" + std::to_string(line)).c_str());
}

ADossierLineGetter::ADossierLineGetter(ADossierManager* manager) : manager_(manager) {}

long ADossierLineGetter::getLineCount() {
    return manager_ ? manager_->getDossierCount() : 0;
}

AString ADossierLineGetter::getRawLine(long record, long line) {
    (void)line;
    Dossier* dossier = manager_ ? manager_->getDossierAt(record) : nullptr;
    if (!dossier)
        return AString();
    return AString((std::string(dossier->getName().c_str()) + "#" + std::to_string(dossier->getId())).c_str());
}

ADossierElementLineGetter::ADossierElementLineGetter(ASearchBase* base, int16_t table, Dossier* dossier)
    : base_(base), table_(table), dossier_(dossier) {
    if (!base_ || !dossier_)
        ThrowAssert("dossier", __LINE__);
    auto* callBack = new ASVResultLineGetterCallBack;
    callBack->tableRow = 1;
    setCallBack(callBack);
}

long ADossierElementLineGetter::getLineCount() {
    return dossier_->elements().count();
}

AString ADossierElementLineGetter::getRawLine(long record, long line) {
    (void)line;
    DossierElement* element = dossier_->elements().elementAt(record);
    if (!element)
        ThrowAssert("dossier", __LINE__);
    if (element->kind == DossierElement::kBaseDocument)
        return ResultText(base_->getText(table_, element->reference, 1), element->reference);
    // An online page: "@n TAB 19 TAB title", the title from the page's record
    // (file;title), its backslashes dropped and its markup escaped.
    AWorkspaceWinApp& app = AWorkspaceWinApp::current();
    std::string page = app.onlinePageRecord(element->reference).c_str();
    std::string title;
    size_t semi = page.find(';');
    if (semi != std::string::npos) {
        for (char c : page.substr(semi + 1, page.find(';', semi + 1) - semi - 1))
            if (c != '\\' && c != '\t' && c != '\r' && c != '\n')
                title += c;
    }
    std::string row = "@" + std::to_string(element->reference) + "\t" + std::to_string(kOnlineIconType) + "\t";
    return AString((row + app.escapeMarkup(title.c_str()).c_str()).c_str());
}

DocumentPostitLineGetter::DocumentPostitLineGetter(ANoteManager* manager, ASearchBase* base)
    : manager_(manager), base_(base) {
    if (!manager_)
        ThrowAssert("postit", __LINE__);
    auto* callBack = new ASVResultLineGetterCallBack;
    callBack->style = 1;
    setCallBack(callBack);
}

long DocumentPostitLineGetter::getLineCount() {
    return manager_->documentCount();
}

AString DocumentPostitLineGetter::getRawLine(long record, long line) {
    (void)line;
    long document = manager_->documentAt(record);
    if (document < 0)
        return AString();
    return ResultText(base_ ? base_->getText(0, document, 1) : AString(), document);
}

PostitLineGetter::PostitLineGetter(ANoteManager* manager, long document) : manager_(manager), document_(document) {
    if (!manager_)
        ThrowAssert("postit", __LINE__);
    auto* callBack = new APostitLineGetterCallBack;
    callBack->style = 1;
    setCallBack(callBack);
}

long PostitLineGetter::getLineCount() {
    AHiliteRangeMap* set = manager_->hasMarkerSet(document_) ? manager_->getMarkerSet(document_) : nullptr;
    return set ? set->count() : 0;
}

AString PostitLineGetter::getRawLine(long record, long line) {
    (void)line;
    Postit* note = manager_->postitAt(document_, record);
    if (!note)
        return AString();
    std::string text = note->getText().c_str();
    size_t end = text.find('\r');
    if (end == std::string::npos)
        end = text.find('\n');
    // Escaped, a '#' of the text is no link separator: the row links to its own note.
    return AWorkspaceWinApp::current().escapeMarkup(text.substr(0, end).c_str());
}

AString MakeCopyName(const char* name) {
    std::string text = name ? name : "";
    size_t at = text.find(kCopy);
    if (at == std::string::npos)
        return AString((text + kCopy + ")").c_str());
    std::string before = text.substr(0, at);
    std::string after = text.substr(at + sizeof(kCopy) - 1);
    if (after.empty())
        return AString(before.c_str());
    long n = after[0] == ')' ? 1 : std::atol(after.c_str());
    return AString((before + kCopy + std::to_string(n + 1) + ")").c_str());
}

long IdAfterLastHash(const char* row) {
    const char* hash = row ? std::strrchr(row, '#') : nullptr;
    return hash ? std::atol(hash + 1) : -1;
}
