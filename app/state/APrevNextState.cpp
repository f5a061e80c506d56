// Previous/next moves over a numbered sequence.
#include "app/state/APrevNextState.h"

#include "base/procedural/AError.h"

int16_t APrevNextState::hasNext(int16_t wrap) {
    long n = count();
    return current < n - 1 || (wrap && n > 1) ? 1 : 0;
}

int16_t APrevNextState::hasPrevious(int16_t wrap) {
    return current >= 1 || (wrap && count() > 1) ? 1 : 0;
}

long APrevNextState::next(int16_t wrap) {
    long position;
    if (hasNext(0))
        position = current + 1;
    else if (wrap && count() > 0)
        position = 0;
    else
        return -1;
    setCurrent(position);
    return valueAt(position);
}

long APrevNextState::previous(int16_t wrap) {
    long position;
    if (hasPrevious(0))
        position = current - 1;
    else if (wrap && count() > 0)
        position = count() - 1;
    else
        return -1;
    setCurrent(position);
    return valueAt(position);
}

void APrevNextState::setCurrent(long position) {
    if (position < 0 || position >= count())
        ThrowAssert("uprevnext", 40);
    current = position;
    currentChanged();
}
