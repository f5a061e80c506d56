// Where an atlas map opened on a place is zoomed and panned, and where the
// pointer then goes: the map (mw x mh) is fitted into the view (w x h), zoomed
// to z percent and panned toward the place (px, py) no further than the zoomed
// map's overhang. Values in view pixels, truncated toward zero.
#pragma once

struct AtlasZoom {
    long panX = 0, panY = 0;
    long mouseX = 0, mouseY = 0;
};

// Computed in double precision (this file's unit uses SSE arithmetic: the
// x87's wider intermediates made 399 of an exact 400). The sizes are positive.
AtlasZoom ComputeAtlasZoom(long w, long h, long mw, long mh, long px, long py, double z);
