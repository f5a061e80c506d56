// The option sheet's states and clicks.
#include "panes/docks/print/AOptionSheet.h"

#include "framework/files/AOptionsInfo.h"
#include "panes/docks/print/APrintKeys.h"

namespace {
int16_t Checked(bool on) {
    return on ? AOptionSheet::kOn : AOptionSheet::kOff;
}
}  // namespace

long AOptionSheet::read(long key) const {
    return options_ ? options_->getLong(key) : 0;
}

void AOptionSheet::write(long key, int16_t value) {
    if (options_)
        options_->setLong(key, value);
}

void AOptionSheet::load() {
    if (!options_)
        return;
    hasSelection_ = static_cast<int16_t>(read(PrintKey::kHasSelection));
    hasContents_ = static_cast<int16_t>(read(PrintKey::kHasContents));
    hasNotes_ = static_cast<int16_t>(read(PrintKey::kHasNotes));
    selectionOnly_ = static_cast<int16_t>(read(PrintKey::kSelectionOnly));
    withContents_ = static_cast<int16_t>(read(PrintKey::kWithContents));
    withNotes_ = static_cast<int16_t>(read(PrintKey::kWithNotes));
    textSize_ = static_cast<int16_t>(read(PrintKey::kTextSize));
    if (kind_ == kPrint) {
        withMedia_ = static_cast<int16_t>(read(PrintKey::kWithMedia));
        mediaCaption_ = static_cast<int16_t>(read(PrintKey::kMediaCaption));
    }
}

bool AOptionSheet::isOptionItem(Kind kind, int16_t id) {
    if (id >= 6110 && id <= 6120 && id != 6112 && id != 6113 && id != 6114)
        return true;
    return kind == kPrint && (id == 6130 || id == 6131);
}

int16_t AOptionSheet::status(int16_t id) const {
    switch (id) {
    case 1010:
        return kOff;
    case 6110:
        return hasSelection_ ? Checked(!selectionOnly_) : kDisabled;
    case 6111:
        return hasSelection_ ? Checked(selectionOnly_ != 0) : kDisabled;
    case 6115:
    case 6116:
    case 6117:
        return Checked(textSize_ == id - 6115);
    case 6118:
        return selectionOnly_ || !hasContents_ ? kDisabled : Checked(withContents_ != 0);
    case 6119:
        return selectionOnly_ || !hasNotes_ ? kDisabled : Checked(withNotes_ != 0);
    case 6120:
        // The export sheet does not cache key 8: it is read when clicked.
        return selectionOnly_ ? kDisabled : Checked((kind_ == kPrint ? withMedia_ : read(PrintKey::kWithMedia)) != 0);
    case 6130:
        return kind_ == kPrint ? Checked(mediaCaption_ == 0) : kOff;
    case 6131:
        return kind_ == kPrint ? Checked(mediaCaption_ == 1) : kOff;
    default:
        return kNotOurs;
    }
}

bool AOptionSheet::click(int16_t id) {
    if (!isOptionItem(kind_, id))
        return false;
    switch (id) {
    case 6110:
    case 6111:
        selectionOnly_ = static_cast<int16_t>(id - 6110);
        write(PrintKey::kSelectionOnly, selectionOnly_);
        break;
    case 6115:
    case 6116:
    case 6117:
        textSize_ = static_cast<int16_t>(id - 6115);
        write(PrintKey::kTextSize, textSize_);
        break;
    case 6118:
        withContents_ = !withContents_;
        write(PrintKey::kWithContents, withContents_);
        break;
    case 6119:
        withNotes_ = !withNotes_;
        write(PrintKey::kWithNotes, withNotes_);
        break;
    case 6120:
        withMedia_ = !read(PrintKey::kWithMedia);
        write(PrintKey::kWithMedia, withMedia_);
        break;
    default:  // 6130, 6131: either flips the choice
        mediaCaption_ = !read(PrintKey::kMediaCaption);
        write(PrintKey::kMediaCaption, mediaCaption_);
        break;
    }
    return true;
}
