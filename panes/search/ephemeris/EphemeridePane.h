// The home screen's ephemeris: one event of today's calendar day (a title of
// the day, the month and the event's year, the event's text, a picture and a
// link line with the title of its article). Each refresh moves on to the
// day's next event; two buttons step back and forth, the picture and the
// link line open the article on the ephemeris screen (screen mode 6), and
// button 1271 opens that screen on the event's related documents. Wanted in
// screen mode 0. Layout "EPHEMERIDE" (pane 1207).
//
// State values (the navigation state's own): 3000 the day index, 3001 the
// day's event count, 3002 the event shown.
//
// Items are the layout's, not owned; a missing or mistyped one fails the
// allocation check ("EphemeridePane"). A text or picture record outside its
// table (bad data) shows nothing; other read errors of the bases reach the caller.
#pragma once

#include "app/frame/SVPane.h"
#include "base/object/AString.h"

class AHotspotView;
class ARendererView;
class AStaticText;

class EphemeridePane : public SVPane {
    SV_DECLARE_CLASS(EphemeridePane)
public:
    enum : int16_t { kRelated = 1271, kPrevious = 1272, kNext = 1273, kTitle = 1274, kText = 1275, kPicture = 1276,
                     kLink = 1277 };
    enum : long { kDayKey = 3000, kCountKey = 3001, kEventKey = 3002 };
    // Pictures are records of this table of the global base.
    enum : int16_t { kPictureBase = 1, kPictureTable = 9 };

    void readFrom(AMemoryStream& stream) override;
    void attachItems() override;
    void setUpItems() override;
    void detachItems() override;
    void bindActions() override;
    ACommand* doCommand(int16_t id, long argument) override;
    int16_t commandStatus(int16_t id, long argument) override;
    void updatePane() override;
    int16_t isPaneWanted() override;

    bool canGoPrevious();
    bool canGoNext();
    // The event to show after eventIndex on the day: the next one, or 0
    // after the last (and for an index beyond the day's events); 0 at first.
    int16_t nextEventIndex(long dayIndex);
    // "14 juillet 1789": day 1..31, month 0..11; without the year when it is -1.
    static AString makeDateTitle(long day, long month, long year);
    // The picture button and the article's title, both anchored "day:event";
    // "" for document -1.
    static AString makeEventLink(long dayIndex, long event, long docNo);
    // Shows the title, text, picture and link line of the record's selected event.
    void showEvent(long dayIndex, long day, long month, const class AEphemerideInfo& info);
    // Opens the shown event's article (a media document in the media window).
    void openEvent();
    void openRelated();
    void showPicture(long record);

    int16_t eventIndex = -1;

private:
    void showText(long record);

    ARendererView* textView = nullptr;  // item 1275, not owned
    ARendererView* linkView = nullptr;  // item 1277, not owned
    AStaticText* titleItem = nullptr;   // item 1274, not owned
    AHotspotView* pictureView = nullptr;  // item 1276, not owned
};
