// What the game's display test knows of a korvis world without looking at the screen: where
// the capitals of a seed stand, and the pixels the console line's text sets.
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace korvis_world {

// The capitals' cells of the world made from `seed` with `kingdoms` kingdoms, kingdom 1 first.
std::vector<std::pair<int, int>> Capitals(unsigned seed, int kingdoms);
// The pixels set by `text` in the large font, as rows of the frame's width from the glyphs'
// top row down; 12 rows.
std::vector<std::vector<bool>> LargeTextRows(const std::string& text, int width);

}  // namespace korvis_world
