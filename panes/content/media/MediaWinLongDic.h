// The application's dictionary of open media windows, keyed by a running
// number: opening a document replaces the first unlocked window (unless a
// new one is forced), the media of every window can be stopped, and the
// video windows closed before a disc change.
//
// Holds no window: each window owns itself and leaves the dictionary
// (forget) before it closes. Forgetting a window that is not there is an
// assertion ("MediaWinLongDic").
#pragma once

#include <cstdint>
#include <map>

class AComponent;
class MediaWin;

class MediaWinLongDic {
public:
    // A new window from the layout "Media" under parent, filed and showing
    // the document, brought forward, its video resumed; null (logged) when
    // the layout gives no media window.
    MediaWin* open(AComponent* parent, long docNo, int16_t frame, int16_t forceNew);
    void forget(MediaWin* window);
    void stopAll();
    // Closes every window showing a video (kind 5).
    void closeVideos();

    const std::map<long, MediaWin*>& windows() const { return windows_; }
    size_t count() const { return windows_.size(); }

private:
    std::map<long, MediaWin*> windows_;  // not owned
    long next_ = 0;
};
