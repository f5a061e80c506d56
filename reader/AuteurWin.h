// The author window (layout "Auteur"): the author's notice (item 6712), a
// second text about the author (6700) and the list of the author's articles
// (6701); choosing an article opens it.
//
// Holds one reference on its article list and one on the list's line getter;
// the views are not owned. Missing items, the GLB base missing and a list
// view without a renderer are assertions ("appclass"). The main window keeps
// it until it closes (Frame1::forgetAuthorWindow).
#pragma once

#include <cstdint>

#include "app/frame/AToolWindows.h"
#include "framework/app/AWindow.h"

class ALo;
class ARendererView;
class SortableLineGetter;

class AuteurWin : public AWindow, public AAuthorWindow {
    SV_DECLARE_CLASS(AuteurWin)
public:
    enum : int16_t { kSecondText = 6700, kArticles = 6701, kNotice = 6712 };

    AuteurWin() = default;
    ~AuteurWin() override;

    void setUpItems() override;
    void bindActions() override;
    ACommand* doCommand(int16_t id, long argument) override;
    int16_t commandStatus(int16_t id, long argument) override;
    ACommand* closeWindow() override;

    void showAuthor(long author, long docNo) override;
    // The article the list renderer's current hit names: a media document in
    // the media window, any other in the main window. Nothing for an empty name.
    void openArticle(long hitKind, const char* name);

    ARendererView* noticeView() const { return notice_; }
    ARendererView* secondView() const { return second_; }
    ARendererView* listView() const { return list_; }
    ALo* articles() const { return articles_; }
    SortableLineGetter* rows() const { return rows_; }
    long keptDocument() const { return keptDoc_; }

private:
    void releaseList();

    ARendererView* second_ = nullptr;    // not owned
    ARendererView* list_ = nullptr;      // not owned
    ALo* articles_ = nullptr;            // one reference
    SortableLineGetter* rows_ = nullptr;  // one reference
    ARendererView* notice_ = nullptr;    // not owned
    long keptDoc_ = -1;
};
