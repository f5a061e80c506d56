// The dictionary window (layout "Dico"): a word field (item 6801) over the
// alphabetical word list (6802, the entries of the index the configuration
// names "DICO"), the entry's title (6803) and the entry (6804). Typing moves
// the list; choosing a word, or Return in the field, shows its entry, which
// the dictionary library answers in its tagged markup, written to
// "synapse.xml" in the temporary folder, read back and converted (mlParse.h).
//
// Owns the word index and the type-ahead search; holds one reference on the
// word list's getter; the views are the layout's. A missing item fails the
// allocation check ("DicoPane"); a missing renderer or host is an assertion.
// File errors of "synapse.xml" raise the file layer's error to the caller.
#pragma once

#include <cstdint>

#include "app/frame/AToolWindows.h"
#include "framework/app/AWindow.h"

class AEditBox;
class AKeyIndex;
class ARendererView;
class ASVAtlasLexLineGetter;
class ASVSearchInList;

class DicoPane : public AWindow, public ADictionaryWindow {
    SV_DECLARE_CLASS(DicoPane)
public:
    enum : int16_t { kWordId = 6801, kListId = 6802, kTitleId = 6803, kEntryId = 6804 };
    enum : int32_t { kMaxWord = 128 };

    DicoPane() = default;
    ~DicoPane() override;

    void setUpItems() override;
    void detachItems() override;
    void bindActions() override;
    ACommand* doCommand(int16_t id, long argument) override;
    int16_t commandStatus(int16_t id, long argument) override;
    ACommand* closeWindow() override;

    void openDictionary() override { open(); }
    void lookUp(const char* word) override;

    void open();
    void loadWordList(const char* key);
    // The row's text after its first "#"; "" without one or without rows.
    AString rowWord(long row);
    void showEntry(const char* word);
    void showTitle(const char* text);
    void showDefinition(const char* text);

    AEditBox* wordField() const { return word_; }
    ARendererView* listView() const { return list_; }
    ARendererView* titleView() const { return title_; }
    ARendererView* entryView() const { return entry_; }
    AKeyIndex* wordIndex() const { return index_; }

private:
    void closeWordList();

    ARendererView* title_ = nullptr;       // not owned
    ARendererView* list_ = nullptr;        // not owned
    ARendererView* entry_ = nullptr;       // not owned
    AEditBox* word_ = nullptr;             // not owned
    ASVSearchInList* typeAhead_ = nullptr;  // a component of this window, deleted when the list is reloaded
    AKeyIndex* index_ = nullptr;           // owned
    ASVAtlasLexLineGetter* rows_ = nullptr;  // one reference
};
