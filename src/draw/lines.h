// Lines, rectangle outlines and circle outlines in the Framebuffer (circles also in
// the SavedFrame), every point through the bounds-tested pixel write.
#pragma once

void DrawLine(int x0, int y0, int x1, int y1, int r, int g, int b);
void DrawRect(int x0, int y0, int x1, int y1, int r, int g, int b);
void DrawLineF(double x0, double y0, double x1, double y1, int r, int g, int b);
void DrawCircle(double cx, double cy, double radius, int r, int g, int b);
void DrawCircleTable(double cx, double cy, double radius, int r, int g, int b);
void DrawSavedCircleTable(double cx, double cy, double radius, int r, int g, int b);
