// The lexicon window: a picker over the records of one table of a search
// base. A group row ("label#>start:count") opens a second window beside it
// with the group's records; a term is written into the opener's search
// field(s), a command that runs the search is queued, and the windows go.
//
// The provider (the opener's) is not owned. Windows of one chain hold plain
// pointers both ways; each unhooks itself when it goes and deletes its
// child, so none is used after it is deleted. A window deletes itself when
// it loses activation without a child. Group rows from data are checked:
// a bad start or count opens nothing.
#pragma once

#include <cstdint>

#include "base/object/AString.h"
#include "framework/app/AWindow.h"
#include "framework/components/ACommand.h"

class AEditBox;
class ARendererView;
class ASearchBase;

// What the lexicon reads of its opener.
struct LexiqueOwner {
    AString style;                       // handed to the list's style sheet
    ASearchBase* base = nullptr;         // null: an empty list
    AEditBox* firstField = nullptr;      // required for a choice
    AEditBox* secondField = nullptr;     // optional
    int16_t table = 0;                   // the listed table, 0 or more
};

class ALexiqueProvider {
public:
    virtual ~ALexiqueProvider() = default;
    virtual LexiqueOwner* ownerRecord() = 0;
    // Runs the search for the field's current text.
    virtual void runSearch(int16_t fieldId, int32_t value) = 0;
};

// Runs the provider's search when the command queue reaches it.
class ExecSearchCmd : public ACommand {
    SV_DECLARE_CLASS(ExecSearchCmd)
public:
    ExecSearchCmd() = default;
    ExecSearchCmd(AComponent* target, ALexiqueProvider* provider, int16_t fieldId, int32_t value)
        : ACommand(target, 0, 1), provider_(provider), fieldId_(fieldId), value_(value) {}
    void execute() override;

private:
    ALexiqueProvider* provider_ = nullptr;  // not owned
    int16_t fieldId_ = 0;
    int32_t value_ = 0;
};

class Lexique : public AWindow {
    SV_DECLARE_CLASS(Lexique)
public:
    enum : int16_t { kFieldId = 1054, kCloseId = 1055, kListId = 1056, kOpenId = 1057, kTitleId = 1058 };
    // The rows' spacing (their sum is the pitch of one row).
    enum : long { kRowHeight = 16, kRowGap = 12 };

    Lexique() = default;
    ~Lexique() override;

    // Record: the window's part, the group windows' layout name, FFFF.
    void readFrom(AMemoryStream& stream) override;
    void childrenLoaded() override;
    void componentDeleted(AComponent* component) override;
    void bindActions() override;
    ACommand* doCommand(int16_t id, long argument) override;
    int16_t commandStatus(int16_t id, long argument) override;
    void activate(bool on) override;

    void setProvider(ALexiqueProvider* provider, int16_t value) {
        provider_ = provider;
        value_ = value;
    }
    void setParentLexique(Lexique* parent) { parent_ = parent; }
    void setText(const char* text);
    // Shows records start to end - 1 of the owner's table.
    void fillRange(long start, long end);
    AString getCurrentText() const { return current_; }
    void setCurrentText(const char* text) { current_ = text ? text : ""; }

    // A click on a row whose text is given (the list's hit text).
    void rowClicked(const char* text);
    // Reads a group row "label#>start:count"; false when the text is no valid group.
    static bool parseGroup(const char* text, long& start, long& count);

    Lexique* childLexique() const { return child_; }
    Lexique* parentLexique() const { return parent_; }
    ARendererView* listView() const { return list_; }

private:
    void applyRowSpacing();
    void openGroup(long start, long count, const char* title);
    void choose();
    void goAway();

    AString current_;
    AString subLayout_ = "Lexique";
    ALexiqueProvider* provider_ = nullptr;  // not owned
    AEditBox* field_ = nullptr;             // a child, or null
    ARendererView* list_ = nullptr;         // a child
    Lexique* child_ = nullptr;              // deleted with this window
    Lexique* parent_ = nullptr;             // not owned
    int16_t value_ = 0;
    int16_t goingAway_ = 0;
    long lastRow_ = -1;
};
