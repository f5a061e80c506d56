// The theme tree of the themes pane and, above it, the path from the top of
// the tree to the theme last clicked. Clicking a theme rebuilds the path and
// hands the theme's key to the themes pane; clicking a path line (2410)
// scrolls the tree to it; 2411 and 2412 step the path's line without wrap.
//
// Theme text: record 0 of table 3 of the global base, one theme a line (see
// ASVThemeLineGetter for the line form); read at the first refresh and kept.
// Path text, one line per theme of the path, root-most first:
//   "/B" label-without-TABs "#" line-number-in-the-theme-text "\n"
//
// Owns the theme getter and the path's cursor; holds one reference on the
// theme text's getter and the tree model. Left part keys 1020 and 1021 (the
// tree selection). Missing enclosing panes or items fail the allocation
// check ("RechThemePrec").
#pragma once

#include <vector>

#include "app/lists/ListPane.h"

class ALaidOutDocModel;
class APrevNextRangeState;
class ARendererView;
class ASVThemeLineGetter;
class BufferedLineGetter;
class DockLCRPane;
class DockLeftThemePane;
class Frame1;

class RechThemePrec : public ListPane {
    SV_DECLARE_CLASS(RechThemePrec)
public:
    enum : int16_t { kGlobalBase = 1, kThemeTable = 3 };
    enum : int16_t { kPathView = 2410, kPathPrevious = 2411, kPathNext = 2412 };
    // The update kind that opens the theme clicked last.
    enum : long { kOpenKind = 2140 };

    RechThemePrec();
    ~RechThemePrec() override;
    void readFrom(AMemoryStream& stream) override;
    void attachItems() override;
    void setUpItems() override;
    void detachItems() override;
    void bindActions() override;
    int16_t commandStatus(int16_t id, long argument) override;
    ACommand* doCommand(int16_t id, long argument) override;
    void saveState(ABaseState* part) override;
    void updatePane() override;
    void notify(const AKindSet& kinds) override;
    // The click on a theme row.
    void selectionChanged(ARenderer* renderer) override;
    void lineClicked(ARenderer* renderer);

    // The theme text (a hook the tests replace); "" when the base lacks it.
    virtual AString themeText();
    void loadTree();
    void showPathOf(long line);
    void fillPath(const std::vector<long>& lines);
    void showPathCurrent();
    void scrollTreeToLine(long line);

    // The path text of the given theme-text lines.
    static AString pathText(BufferedLineGetter* source, const std::vector<long>& lines);
    AString getPathText() const { return pathText_; }
    APrevNextRangeState* getPathState() const { return pathState; }
    ALaidOutDocModel* getTreeModel() const { return treeModel; }

    Frame1* frame = nullptr;                 // not owned
    DockLCRPane* lcr = nullptr;              // not owned; null without a centre
    DockLeftThemePane* themePane = nullptr;  // not owned
    ARendererView* pathView = nullptr;       // item 2410, not owned

private:
    BufferedLineGetter* themeSource = nullptr;  // one reference held
    ASVThemeLineGetter* themeGetter = nullptr;  // one reference held
    ALaidOutDocModel* treeModel = nullptr;      // one reference held
    APrevNextRangeState* pathState = nullptr;   // owned
    AString pathText_;
    long pendingOpen = -1;  // the theme line to open, -1 none
};
