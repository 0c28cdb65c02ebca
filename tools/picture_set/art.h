// The drawings of the default picture set, one function per picture folder. Each draws
// the picture of the given file name (without ".bmp") onto a canvas of the folder's size.
#pragma once

#include <string>

#include "canvas.h"

// Terrain and dungeon tiles fill the whole tile.
void DrawLand(const std::string& name, Canvas& c);
void DrawDungeon(const std::string& name, Canvas& c);
// Sprites stand on pure black, the key colour of keyed drawing.
void DrawUnit(const std::string& name, Canvas& c);
void DrawStructure(const std::string& name, Canvas& c);
void DrawItem(const std::string& name, Canvas& c);
void DrawCross(const std::string& name, Canvas& c);
// Square textures of the 3D scene and the title screen.
void DrawCube(const std::string& name, Canvas& c);
void DrawTitle(const std::string& name, Canvas& c);
// The 64 x 64 desktop icon of a program ("quentaro" or "korvis"); pure black is transparent.
void DrawProgramIcon(const std::string& program, Canvas& c);
