// The interfaces through which the text renderer talks to the application
// about the reader's note marks (AMarkerCallBack) and asks for the entries
// of the menu shown on a selection (ASelContextMenuCallBack). The bases do
// the least: numbering marks by count and showing what would be edited or
// deleted; the application derives its own. No data; not shared.
#pragma once

class AHiliteRangeMap;
class AString;
class APopupMenu;

class AMarkerCallBack {
public:
    virtual ~AMarkerCallBack() = default;
    // The value of a mark about to be added: the map's number of entries.
    virtual long newMarker(AHiliteRangeMap* map, long argument);
    virtual void markerAdded(long) {}
    // Message boxes "Edition du postit :" / "Suppression du postit :" and the
    // value ("%02d"), titled "Application callback"; nothing without an application.
    virtual void editMarker(long value);
    virtual void deleteMarker(long value);
    virtual void markerDeleted(long) {}
    virtual void markerMoved(long, long) {}
};

class ASelContextMenuCallBack {
public:
    virtual ~ASelContextMenuCallBack() = default;
    virtual void fillMenu(APopupMenu*, const AString&) {}
};
