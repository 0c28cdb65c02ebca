// Integer and real-valued lines and rectangle outlines. The integer line starts its
// error at the minor length rather than half the major one, so its minor steps come
// later than in the textbook algorithm; drawings made with it depend on that.
#include "draw/lines.h"

#include <cmath>
#include <cstdlib>

#include "draw/pixels.h"

void DrawLine(int x0, int y0, int x1, int y1, int r, int g, int b) {
    int dx = std::abs(x1 - x0), dy = std::abs(y1 - y0);
    int sx = (x1 > x0) - (x1 < x0);
    int sy = (y1 > y0) - (y1 < y0);
    int x = x0, y = y0;
    PutPixel(x, y, r, g, b);
    if (dx > dy) {
        int e = dy;
        for (int i = 0; i < dx; ++i) {
            e += dy;
            if (e > dx) {
                e -= dx;
                y += sy;
            }
            x += sx;
            PutPixel(x, y, r, g, b);
        }
    } else {
        int e = dx;
        for (int i = 0; i < dy; ++i) {
            e += dx;
            if (e > dy) {
                e -= dy;
                x += sx;
            }
            y += sy;
            PutPixel(x, y, r, g, b);
        }
    }
}

void DrawRect(int x0, int y0, int x1, int y1, int r, int g, int b) {
    DrawLine(x0, y0, x1, y0, r, g, b);
    DrawLine(x1, y0, x1, y1, r, g, b);
    DrawLine(x0, y0, x0, y1, r, g, b);
    DrawLine(x0, y1, x1, y1, r, g, b);
}

void DrawLineF(double x0, double y0, double x1, double y1, int r, int g, int b) {
    PutPixel(int(x0), int(y0), r, g, b);
    double adx = std::fabs(x1 - x0), ady = std::fabs(y1 - y0);
    double dx = x1 - x0, dy = y1 - y0;
    if (adx > ady) {
        double ux = dx / adx, uy = dy / adx, step = std::fabs(ux);
        for (double t = 0; t < adx; t += step)
            PutPixel(int(t * ux + x0), int(t * uy + y0), r, g, b);
    } else if (ady > 0) {
        // Coincident points have ady = 0: the loop would not run, and 0/0 is avoided.
        double ux = dx / ady, uy = dy / ady, step = std::fabs(uy);
        for (double t = 0; t < ady; t += step)
            PutPixel(int(t * ux + x0), int(t * uy + y0), r, g, b);
    }
    PutPixel(int(x1), int(y1), r, g, b);
}
