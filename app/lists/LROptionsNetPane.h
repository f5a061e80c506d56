// A result list of an online search: the rows of a ".net" result file of
// the application's temporary folder, grouped under their categories, with
// the display choice (list or summary rows; thumbnails draw as the list).
// With rows in only one category the tree opens whole.
//
// The file's name comes from the key; a name that is not a plain file name,
// a missing file or a damaged one gives the rows that could be read, or
// "Aucun document \xE0 afficher". Holds what ListPane holds; the display
// buttons are optional.
#pragma once

#include "app/lists/LROptionsAfficherDVDPane.h"

class ALaidOutDocModel;

class LROptionsNetPane : public LROptionsAfficherDVDPane {
    SV_DECLARE_CLASS(LROptionsNetPane)
public:
    void readFrom(AMemoryStream& stream) override;
    // 2500: the new display keeps the selected row selected and in view.
    ACommand* doCommand(int16_t id, long argument) override;
    // The key is the file's name without ".net".
    void loadList(const char* key) override;
    // None: the list display. A state: panel flag and display from keys 1305 and 1307.
    void takeLeftState(ALeftState* left) override;
    void refreshChoices(int16_t reason) override;
    AString optionLabel() override;
    void createRenderer() override;
    void buildLineGetter() override;
    void configureRenderer(int16_t select) override;
    virtual void buildNetModel(ARenderer* renderer);

    int16_t singleCategory = 0;
    AString resultText;
    AString categoryLine;
    int16_t nonEmptyCategories = 0;
    long rowCount = 0;

private:
    ALaidOutDocModel* model = nullptr;  // the renderer's model, not owned
    bool closeTree = false;             // a display change builds the tree closed
};
