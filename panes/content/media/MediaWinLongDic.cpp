// The dictionary of media windows.
#include "panes/content/media/MediaWinLongDic.h"

#include <windows.h>

#include <string>

#include "base/procedural/AError.h"
#include "base/procedural/AOutStream.h"
#include "panes/content/media/MediaWin.h"

namespace {

// Runs a window's close answer as the command queue would.
void PerformClose(MediaWin* window) {
    if (ACommand* command = window->closeWindow())
        window->perform(command);
}

}  // namespace

MediaWin* MediaWinLongDic::open(AComponent* parent, long docNo, int16_t frame, int16_t forceNew) {
    if (!forceNew)
        for (const auto& entry : windows_)
            if (!entry.second->isLocked()) {
                PerformClose(entry.second);
                break;
            }
    AComponent* root = parent ? AComponent::loadLayout(parent, "Media", 0) : nullptr;
    auto* window = root ? dynamic_cast<MediaWin*>(root) : nullptr;
    if (!window) {
        if (root)
            DeleteComponent(root);
        CurrentErrorStream().writeString("#Fen\xEAtre m\xE9" "dia absente: document ")
            .writeString(std::to_string(docNo).c_str()).writeString("\n");
        return nullptr;
    }
    windows_[next_++] = window;
    window->showDocument(docNo, frame, 0, 0);
    if (HWND hwnd = window->getHWnd(); hwnd && IsIconic(hwnd))
        ShowWindow(hwnd, SW_RESTORE);
    window->select();
    window->resumeVideo();
    return window;
}

void MediaWinLongDic::forget(MediaWin* window) {
    for (auto it = windows_.begin(); it != windows_.end(); ++it)
        if (it->second == window) {
            windows_.erase(it);
            return;
        }
    ThrowAssert("MediaWinLongDic", __LINE__);
}

void MediaWinLongDic::stopAll() {
    for (const auto& entry : windows_)
        entry.second->stopMedia();
}

void MediaWinLongDic::closeVideos() {
    // Each close changes the dictionary: the walk starts again after it. A
    // window that refuses to close ends the walk.
    for (bool closed = true; closed;) {
        closed = false;
        for (const auto& entry : windows_)
            if (entry.second->mediaKind() == 5) {
                size_t before = windows_.size();
                PerformClose(entry.second);
                closed = windows_.size() != before;
                break;
            }
    }
}
