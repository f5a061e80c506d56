// The atlas zoom's pan and pointer, in double precision.
#include "panes/content/flash/AtlasZoom.h"

AtlasZoom ComputeAtlasZoom(long w0, long h0, long mw, long mh, long px, long py, double z) {
    double w = w0, h = h0;
    double rx = w / mw, ry = h / mh;
    double s = rx < ry ? rx : ry;
    double cx = px * s, cy = py * s;
    if (rx > ry)
        cx += (w - mw * ry) * 0.5;
    else
        cy += (h - mh * rx) * 0.5;
    auto pan = [&](double side, double mapSide, double c, double& e) {
        double d, sign;
        if (side * 0.5 < c) {
            d = mapSide * s * z * 0.01 * 0.5 - side * 0.5;
            sign = 1;
        } else {
            d = side * 0.5 - mapSide * s * z * 0.01 * 0.5;
            sign = -1;
        }
        e = c - side * 0.5;
        double reach = z * (e < 0 ? -e : e) * 0.01;
        double overhang = d < 0 ? -d : d;
        return sign * (overhang < reach ? overhang : reach);
    };
    double ex = 0, ey = 0;
    double panX = pan(w, mw, cx, ex), panY = pan(h, mh, cy, ey);
    double qx = (ex - panX / z * 100) * z * 0.01, qy = (ey - panY / z * 100) * z * 0.01;
    AtlasZoom out;
    out.panX = static_cast<long>(panX);
    out.panY = static_cast<long>(panY);
    out.mouseX = static_cast<long>(w * 0.5 + qx);
    out.mouseY = static_cast<long>(h * 0.5 + qy);
    return out;
}
