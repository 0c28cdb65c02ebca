// Circle outlines: one by sine and cosine calls, two from the trig tables (the latter
// walk half the circle and mirror it, so left and right halves match exactly).
#include <cmath>

#include "draw/lines.h"
#include "draw/pixels.h"
#include "draw/trig_tables.h"

void DrawCircle(double cx, double cy, double radius, int r, int g, int b) {
    if (!(radius > 0) || std::isinf(radius)) {
        // No circle to walk: a step of 50/radius would be infinite, walk backwards or, for an
        // infinite radius, be zero and never reach the full turn.
        PutPixel(int(cx), int(cy), r, g, b);
        return;
    }
    double step = (1.0 / radius) * 50.0;
    for (double t = 0.0; t < 360.0; t += step) {
        double a = t * DEG_TO_RAD;
        int px = int(std::sin(a) * radius) + int(cx);
        int py = int(-radius * std::cos(a)) + int(cy);
        PutPixel(px, py, r, g, b);
    }
}

namespace {

template <typename Plot> void TableCircle(double cx, double cy, double radius, Plot plot) {
    if (!(radius >= 0)) radius = 0;  // also NaN, which no clamp would catch
    if (radius > 9999) radius = 9999;
    if (SinTable == nullptr || CosTable == nullptr) return;
    double step = (1.0 / radius) * 50.0;  // radius 0: one step of infinity, one point
    for (double t = 0.0; t <= 180.0; t += step) {
        int i = int(t * 1000);
        int ox = int(SinTable[i] * radius);
        int py = int(-radius * CosTable[i]) + int(cy);
        plot(ox + int(cx), py);
        plot(int(cx) - ox, py);
    }
}

}  // namespace

void DrawCircleTable(double cx, double cy, double radius, int r, int g, int b) {
    TableCircle(cx, cy, radius, [&](int x, int y) { PutPixel(x, y, r, g, b); });
}

void DrawSavedCircleTable(double cx, double cy, double radius, int r, int g, int b) {
    TableCircle(cx, cy, radius, [&](int x, int y) { PutSavedPixel(x, y, r, g, b); });
}
