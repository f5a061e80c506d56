// Reading a stand-in movie and following the page's calls.
#include "platform/flashmovie/FlashMovie.h"

#include <cerrno>
#include <cstdlib>
#include <sstream>

namespace {

const size_t kMaxFrames = 256;
const size_t kMaxHotspots = 1024;
const int32_t kMaxSide = 4096;

bool ParseInt(const std::string& text, int32_t& out) {
    if (text.empty() || text.size() > 11)
        return false;
    char* end = nullptr;
    errno = 0;
    long value = std::strtol(text.c_str(), &end, 10);
    if (errno || *end || value < -2147483647L || value > 2147483647L)
        return false;
    out = static_cast<int32_t>(value);
    return true;
}

// Standard base64 (with '=' padding) into out; false on any other character
// or a length that is not a whole number of groups.
bool DecodeBase64(const std::string& text, std::string& out) {
    if (text.empty() || text.size() % 4 != 0)
        return false;
    auto value = [](char c) -> int {
        if (c >= 'A' && c <= 'Z')
            return c - 'A';
        if (c >= 'a' && c <= 'z')
            return c - 'a' + 26;
        if (c >= '0' && c <= '9')
            return c - '0' + 52;
        return c == '+' ? 62 : c == '/' ? 63 : -1;
    };
    out.clear();
    for (size_t i = 0; i < text.size(); i += 4) {
        int pad = (text[i + 3] == '=') + (text[i + 2] == '=' && text[i + 3] == '=');
        if (pad && i + 4 != text.size())
            return false;
        int v[4];
        for (int k = 0; k < 4; ++k) {
            v[k] = k >= 4 - pad ? 0 : value(text[i + k]);
            if (v[k] < 0)
                return false;
        }
        uint32_t group = (uint32_t(v[0]) << 18) | (uint32_t(v[1]) << 12) | (uint32_t(v[2]) << 6) | uint32_t(v[3]);
        out += static_cast<char>(group >> 16);
        if (pad < 2)
            out += static_cast<char>((group >> 8) & 0xFF);
        if (pad < 1)
            out += static_cast<char>(group & 0xFF);
    }
    return true;
}

bool Fail(std::string& error, int line, const char* what) {
    error = "line " + std::to_string(line) + ": " + what;
    return false;
}

}  // namespace

bool FlashMovie::read(const std::string& text, std::string& error) {
    width_ = height_ = 0;
    frames_.clear();
    std::istringstream in(text);
    std::string line;
    int number = 0;
    while (std::getline(in, line)) {
        ++number;
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (number == 1) {
            if (line != "SVMOVIE 1")
                return Fail(error, number, "not a movie (SVMOVIE 1 expected)");
            continue;
        }
        if (line.empty() || line[0] == '#')
            continue;
        std::istringstream words(line);
        std::string word;
        words >> word;
        if (word == "SIZE") {
            std::string w, h;
            words >> w >> h;
            if (!ParseInt(w, width_) || !ParseInt(h, height_) || width_ < 1 || height_ < 1 || width_ > kMaxSide ||
                height_ > kMaxSide)
                return Fail(error, number, "bad size");
        } else if (word == "FRAME") {
            std::string picture;
            words >> picture;
            if (picture.empty() || picture.find("..") != std::string::npos || picture.find(':') != std::string::npos)
                return Fail(error, number, "bad frame picture name");
            if (frames_.size() >= kMaxFrames)
                return Fail(error, number, "too many frames");
            frames_.push_back(FlashFrame{picture, {}, {}});
        } else if (word == "FRAMEDATA") {
            std::string encoded, bytes;
            words >> encoded;
            if (!DecodeBase64(encoded, bytes))
                return Fail(error, number, "bad frame data");
            if (frames_.size() >= kMaxFrames)
                return Fail(error, number, "too many frames");
            frames_.push_back(FlashFrame{std::string(), std::move(bytes), {}});
        } else if (word == "HOT") {
            std::string x, y, w, h;
            words >> x >> y >> w >> h;
            FlashHotspot spot;
            if (!ParseInt(x, spot.x) || !ParseInt(y, spot.y) || !ParseInt(w, spot.w) || !ParseInt(h, spot.h) ||
                spot.w < 1 || spot.h < 1 || spot.w > kMaxSide || spot.h > kMaxSide)
                return Fail(error, number, "bad hotspot rectangle");
            if (frames_.empty())
                return Fail(error, number, "hotspot before any frame");
            if (frames_.back().hotspots.size() >= kMaxHotspots)
                return Fail(error, number, "too many hotspots");
            std::getline(words >> std::ws, spot.text);
            if (spot.text.empty())
                return Fail(error, number, "hotspot without text");
            frames_.back().hotspots.push_back(spot);
        } else {
            return Fail(error, number, "unknown directive");
        }
    }
    if (number == 0)
        return Fail(error, 1, "empty movie");
    if (width_ == 0)
        return Fail(error, number, "no SIZE");
    if (frames_.empty())
        return Fail(error, number, "no FRAME");
    return true;
}

const std::string* FlashMovie::hotspotAt(int32_t frame, int32_t x, int32_t y) const {
    if (frame < 0 || static_cast<size_t>(frame) >= frames_.size())
        return nullptr;
    for (const FlashHotspot& spot : frames_[frame].hotspots)
        if (x >= spot.x && y >= spot.y && int64_t(x) < int64_t(spot.x) + spot.w &&
            int64_t(y) < int64_t(spot.y) + spot.h)
            return &spot.text;
    return nullptr;
}

bool FlashPlayback::call(const std::string& function, const std::vector<std::string>& arguments) {
    auto arg = [&](size_t i, int32_t& out) { return i < arguments.size() && ParseInt(arguments[i], out); };
    int32_t n = 0;
    if (function == "gotoframe" || function == "document.embeds[0].GotoFrame") {
        if (arg(0, n) && movie_ && n >= 0 && static_cast<size_t>(n) < movie_->frames().size())
            frame_ = n;
    } else if (function == "zoom") {
        if (!arg(0, n) || n < 0)
            return true;
        if (n == 0) {
            zoom_ = 100;
            panX_ = panY_ = 0;
        } else {
            int64_t z = int64_t(zoom_) * 100 / n;
            zoom_ = static_cast<int32_t>(z < 1 ? 1 : z > 10000 ? 10000 : z);
        }
    } else if (function == "zoompan") {
        int32_t px = 0, py = 0;
        if (arg(0, n) && n > 0 && arg(1, px) && arg(2, py)) {
            zoom_ = 10000 / n < 1 ? 1 : 10000 / n;
            panX_ = px;
            panY_ = py;
        }
    } else if (function == "play") {
        playing_ = true;
    } else if (function == "stop") {
        playing_ = false;
    } else if (function == "stopAndRewind") {
        playing_ = false;
        frame_ = 0;
    } else {
        return false;
    }
    return true;
}

void FlashPlayback::placement(int32_t cx, int32_t cy, int32_t& x, int32_t& y, int32_t& w, int32_t& h) const {
    x = y = w = h = 0;
    if (!movie_ || movie_->width() < 1 || movie_->height() < 1 || cx < 1 || cy < 1)
        return;
    double rx = double(cx) / movie_->width(), ry = double(cy) / movie_->height();
    double s = (rx < ry ? rx : ry) * zoom_ / 100.0;
    w = static_cast<int32_t>(movie_->width() * s);
    h = static_cast<int32_t>(movie_->height() * s);
    x = (cx - w) / 2 - panX_;
    y = (cy - h) / 2 - panY_;
}

bool FlashPlayback::toDesign(int32_t cx, int32_t cy, int32_t vx, int32_t vy, int32_t& dx, int32_t& dy) const {
    int32_t x, y, w, h;
    placement(cx, cy, x, y, w, h);
    if (w < 1 || h < 1 || vx < x || vy < y || vx >= x + w || vy >= y + h)
        return false;
    dx = static_cast<int32_t>(int64_t(vx - x) * movie_->width() / w);
    dy = static_cast<int32_t>(int64_t(vy - y) * movie_->height() / h);
    return true;
}
