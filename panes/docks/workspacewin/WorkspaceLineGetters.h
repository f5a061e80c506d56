// The rows of the dossier and note windows: the dossiers ("name#id"), the
// documents of a dossier (base records, online pages "@n TAB 19 TAB title"),
// the documents that have notes and the notes of one document.
//
// The getters do not own the stores, the dossier nor the search base; each
// owns its row callback through the base.
#pragma once
#include <cstdint>

#include "app/lines/SortableLineGetter.h"
class ADossierManager;
class ANoteManager;
class ASearchBase;
class Dossier;

// A result text "link TAB icon TAB title" as a list row linking to the link
// name, with the icon of the type before the title.
class ASVResultLineGetterCallBack : public ALineGetterCallBack {
public:
    AString formatLine(long line, const AString& raw, int16_t rowMarkup) override;
    int16_t tableRow = 0;  // the dossier list sets it
    int16_t style = 0;     // the note window sets it
};

// A note's first line as a document-markup link named by the line number.
class APostitLineGetterCallBack : public ALineGetterCallBack {
public:
    AString formatLine(long line, const AString& raw, int16_t rowMarkup) override;
    int16_t style = 0;
};

class ADossierLineGetter : public SortableLineGetter {
public:
    explicit ADossierLineGetter(ADossierManager* manager);
    long getLineCount() override;
    AString getRawLine(long record, long line) override;

private:
    ADossierManager* manager_;  // not owned
};

class ADossierElementLineGetter : public SortableLineGetter {
public:
    // Base and dossier must be given (assertion "dossier").
    ADossierElementLineGetter(ASearchBase* base, int16_t table, Dossier* dossier);
    long getLineCount() override;
    AString getRawLine(long record, long line) override;

private:
    ASearchBase* base_;  // not owned
    int16_t table_;
    Dossier* dossier_;  // not owned
};

class DocumentPostitLineGetter : public SortableLineGetter {
public:
    // The manager must be given (assertion "postit"); base may be null (no titles).
    DocumentPostitLineGetter(ANoteManager* manager, ASearchBase* base);
    long getLineCount() override;
    AString getRawLine(long record, long line) override;

private:
    ANoteManager* manager_;  // not owned
    ASearchBase* base_;      // not owned
};

class PostitLineGetter : public SortableLineGetter {
public:
    PostitLineGetter(ANoteManager* manager, long document);
    long getLineCount() override;
    AString getRawLine(long record, long line) override;

private:
    ANoteManager* manager_;  // not owned
    long document_;
};

// The name of a dossier's copy: " (Copie )" added, then " (Copie 2)", 3...
AString MakeCopyName(const char* name);
// The number after the last '#' of a row; -1 without one.
long IdAfterLastHash(const char* row);
