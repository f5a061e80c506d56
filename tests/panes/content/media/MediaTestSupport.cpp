// The media window tests' main window class.
#include "tests/panes/content/media/MediaTestSupport.h"

SV_IMPLEMENT_CLASS(MediaTestReader, 0, Frame1)
