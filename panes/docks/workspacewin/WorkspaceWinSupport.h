// What the dossier and note windows share: finding their layout's items and
// sending the main window to a document.
#pragma once
#include <cstdint>

#include "base/procedural/AError.h"
#include "framework/clusters/AItemCluster.h"

// The item of the id as class T; a missing item or another class is an
// assertion of the layout, with the id as line.
template <class T>
T* RequiredItem(AItemCluster* window, int16_t id, const char* file) {
    AClusterItem* item = window->findItem(id, false);
    T* typed = item ? static_cast<T*>(item->castTo(&T::classRecord)) : nullptr;
    if (!typed)
        ThrowAssert(file, id);
    return typed;
}

// Sends the main window to a new state showing the document (a web page
// when webPage is set): the left part kept when the current state has one,
// else a new one, expanded. Nothing without a main window.
void GoToDocument(long docNo, bool webPage);
