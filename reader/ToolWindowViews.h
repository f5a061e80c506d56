// The views of the application's tool windows (author, phonetic): found by
// id, given the application's text or list renderer.
#pragma once

#include <cstdint>

class AComponent;
class ARendererView;
class ASearchBase;
class AWindow;

// The view of item id; a missing item or another class is an assertion ("appclass").
ARendererView* RequiredView(AWindow* window, int16_t id);
// The application's text renderer on style sheet `sheet`, without word clicks.
void SetUpTextView(ARendererView* view, long sheet);
// Linked to the window, with the application's list renderer (sheet 3).
void SetUpListView(AComponent* window, ARendererView* view);
// The application's base of that index, or null.
ASearchBase* ToolBase(short index);
