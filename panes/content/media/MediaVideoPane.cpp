// The media video pane: finding the files, fitting the movie, the transport.
#include "panes/content/media/MediaVideoPane.h"

#include <windows.h>

#include <cstring>
#include <string>

#include "app/state/ABaseState.h"
#include "app/state/AppState.h"
#include "base/procedural/AError.h"
#include "base/procedural/AOutStream.h"
#include "framework/components/AKindSet.h"
#include "framework/display/ASizerGroup.h"
#include "panes/content/media/AMediaApp.h"
#include "web/movie/AMovieViewer.h"

SV_IMPLEMENT_CLASS(MediaVideoPane, 0, SVPane)

namespace {

void LogVideo(const char* what, long docNo, const char* name) {
    CurrentErrorStream().writeString("#Video: ").writeString(what).writeString(" (document ")
        .writeString(std::to_string(docNo).c_str()).writeString(name && *name ? ", " : "")
        .writeString(name ? name : "").writeString(")\n");
}

std::string Join(const AString& folder, const char* sub, const AString& name) {
    std::string out = folder.c_str();
    if (!out.empty() && out.back() != '\\' && out.back() != '/')
        out += '\\';
    return out + sub + "\\" + name.c_str();
}

}  // namespace

bool MediaVideoPane::IsSafeFileName(const char* name) {
    if (!name || !*name || std::strstr(name, ".."))
        return false;
    if (name[0] == '\\' || name[0] == '/' || std::strchr(name, ':'))
        return false;
    return true;
}

APoint MediaVideoPane::FitSize(APoint movie, APoint box) {
    if (movie.x <= 0 || movie.y <= 0 || box.x <= 0 || box.y <= 0)
        return APoint(0, 0);
    // 64-bit products: a box and a movie of 16 bits each stay exact.
    long long rh = static_cast<long long>(box.y) * 128 / movie.y, rw = static_cast<long long>(box.x) * 128 / movie.x;
    long long r = rh < rw ? rh : rw;
    return APoint(static_cast<long>(movie.x * r / 128), static_cast<long>(movie.y * r / 128));
}

AMovie* MediaVideoPane::movie() const {
    AMovie* m = viewer_ ? viewer_->movie() : nullptr;
    return m && m->movie() ? m : nullptr;
}

void MediaVideoPane::attachItems() {
    SVPane::attachItems();
    AComponent* found = findAncestor(&MediaPane::classRecord);
    mediaPane_ = CheckAlloc(found ? static_cast<MediaPane*>(found->castTo(&MediaPane::classRecord)) : nullptr,
                            "MediaVideoPane", 61);
    mediaPane_->setVideoControl(this);
}

void MediaVideoPane::setUpItems() {
    SVPane::setUpItems();
    AClusterItem* item = findItem(kViewer, false);
    viewer_ = CheckAlloc(item ? static_cast<AMovieViewer*>(item->castTo(&AMovieViewer::classRecord)) : nullptr,
                         "MediaVideoPane", 72);
    if (AMovie* m = viewer_->movie()) {
        m->addLink(this);
        m->setOption(0);
    }
}

void MediaVideoPane::detachItems() {
    if (viewer_ && viewer_->movie())
        viewer_->movie()->removeLink(this);
    if (mediaPane_)
        mediaPane_->setVideoControl(nullptr);
    viewer_ = nullptr;
    SVPane::detachItems();
}

void MediaVideoPane::linkChanged(AComponent* source, const AKindSet& kinds) {
    SVPane::linkChanged(source, kinds);
    if (viewer_ && source == viewer_->movie() && kinds.contains(AMovie::kPlayingChange) && mediaPane_)
        mediaPane_->queueUpdate(0);
}

long MediaVideoPane::frameChanged(const APoint& size) {
    long result = SVPane::frameChanged(size);
    if (hasFlags(kVisible) && movie())
        fitMovie();
    return result;
}

ACommand* MediaVideoPane::mouseDown(AMouseEvent& event) {
    if (!viewer_)
        ThrowAssert("MediaVideoPane", 417);
    if (movie())
        movie()->pause();
    if (mediaPane_)
        mediaPane_->queueUpdate(0);
    return SVPane::mouseDown(event);
}

int16_t MediaVideoPane::isPaneWanted() {
    AppState* state = currentState();
    ADocState* doc = state ? state->getDocState() : nullptr;
    return doc && doc->fDocType == MediaPane::kVideo && !mediaPane_->externalMode() ? 1 : 0;
}

AppState* MediaVideoPane::currentState() {
    if (!mediaPane_)
        ThrowAssert("MediaVideoPane", 151);
    return mediaPane_->currentState();
}

void MediaVideoPane::updatePane() {
    SVPane::updatePane();
    AppState* state = currentState();
    if (state && state->getDocNo() >= 0)
        openVideo(state->getDocNo(), 1);
    fitMovie();
}

bool MediaVideoPane::openVideo(long docNo, int16_t load) {
    if (!load || !viewer_)
        return false;
    AMediaApp& app = AMediaApp::current();
    AString name, folder, director, directorFolder;
    step_ = 0;
    viewer_->closeMovie();
    mediaPane_->setMediaFiles(AString(), AString());
    // A base without the field, or an empty field, has no video.
    if (!app.getDocField(docNo, "VIDNAME", &name, &folder) || name.empty()) {
        LogVideo("pas de vid\xE9o", docNo, nullptr);
        return false;
    }
    if (!IsSafeFileName(name.c_str())) {
        LogVideo("nom de fichier refus\xE9", docNo, name.c_str());
        return false;
    }
    std::string video = Join(folder, "VIDEOS", name);
    std::string dcr;
    if (app.getDocField(docNo, "DCRNAME", &director, &directorFolder) && !director.empty()) {
        if (IsSafeFileName(director.c_str()))
            dcr = Join(folder, "DCR", director);
        else
            LogVideo("nom de fichier refus\xE9", docNo, director.c_str());
    }
    mediaPane_->setMediaFiles(AString(video.c_str()), AString(dcr.c_str()));
    if (GetFileAttributesA(video.c_str()) == INVALID_FILE_ATTRIBUTES) {
        LogVideo("fichier absent", docNo, video.c_str());
        return false;
    }
    AMovieFile file;
    file.spec = AFileSpec(video.c_str());
    long code = viewer_->setMovie(file);
    if ((code & 0xFFFF) != 0 || !movie()) {
        LogVideo(("film illisible, code " + std::to_string(code & 0xFFFF)).c_str(), docNo, video.c_str());
        viewer_->closeMovie();
        return false;
    }
    movie()->addLink(this);
    movie()->setOption(0);
    step_ = movie()->getEndPosition() / 10;
    return true;
}

void MediaVideoPane::fitMovie() {
    AMovie* m = movie();
    APoint extent = m ? m->getExtent() : APoint(0, 0);
    if (extent.x <= 0 || extent.y <= 0)
        return;
    AComponent* found = viewer_->findAncestor(&ASizerBox::classRecord);
    auto* box = CheckAlloc(found ? static_cast<ASizerBox*>(found->castTo(&ASizerBox::classRecord)) : nullptr,
                           "MediaVideoPane", 212);
    setViewerSize(viewer_, FitSize(extent, box->getSize()));
}

void MediaVideoPane::setViewerSize(AMovieViewer* viewer, APoint size) {
    if (size.x == 0 && size.y == 0)
        size = viewer->getSize();
    ADisplayComponent* parent = CheckAlloc(viewer->getDisplayParent(), "MediaVideoPane", 434);
    APoint bound = parent->getSize();
    long w = size.x < bound.x ? size.x : bound.x, h = size.y < bound.y ? size.y : bound.y;
    AEdge left, top, right, bottom;
    // Each edge from the parent's middle.
    const uint16_t mode = 0x1040;
    left.set(-(w / 2), mode, 0);
    top.set(-(h / 2), mode, 0);
    right.set(w - w / 2, mode, 0);
    bottom.set(h - h / 2, mode, 0);
    viewer->setSizeSpec(ASizeSpec::fromEdges(left, top, right, bottom), true);
}

// ---- The transport -------------------------------------------------------------

void MediaVideoPane::play() {
    AMovie* m = movie();
    if (!m || m->isPlaying())
        return;
    if (m->savedRate() != 0)
        m->resume();
    else
        m->playFrom(-1, -2, 1000);
}

void MediaVideoPane::pause() {
    if (AMovie* m = movie())
        if (m->isPlaying())
            m->pause();
}

void MediaVideoPane::stop() {
    if (AMovie* m = movie()) {
        m->pause();
        m->goToTime(0);
    }
}

void MediaVideoPane::jumpTo(long t) {
    AMovie* m = movie();
    m->goToTime(t);
    m->playFrom(-1, -2, 1000);
}

void MediaVideoPane::rewind() {
    AMovie* m = movie();
    if (!m)
        return;
    m->pause();
    long t = m->getCurrentPosition() - step_;
    jumpTo(t > 0 ? t : 0);
}

void MediaVideoPane::fastForward() {
    AMovie* m = movie();
    if (!m)
        return;
    m->pause();
    long duration = m->getEndPosition();
    long t = m->getCurrentPosition() + step_;
    jumpTo(t >= duration ? duration - 1 : t);
}

bool MediaVideoPane::isStopped() {
    // Without a movie the play button is disabled too, not offered.
    return movie() && !isPlaying();
}

bool MediaVideoPane::isPlaying() {
    AMovie* m = movie();
    return m && m->isPlaying();
}

bool MediaVideoPane::canRewind() {
    AMovie* m = movie();
    return m && m->getCurrentPosition() != 0;
}

bool MediaVideoPane::canStop() {
    return canRewind();
}

bool MediaVideoPane::canFastForward() {
    AMovie* m = movie();
    return m && m->getCurrentPosition() < m->getEndPosition();
}
