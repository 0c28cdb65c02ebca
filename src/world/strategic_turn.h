// The strategic game of kingdoms: kingdom k's capital is record k and holds its treasury;
// kingdom 1 is the player's. One turn is played per call while the left button is held.
#pragma once

#include <cstdint>

extern std::int32_t turnCounter;  // the turn being played, from 1

// Keys '1'..'5' move the view to that kingdom's capital. With the left button held, plays
// one turn: the player's town at the cursor (turns 1..13, which need an acceptable site),
// income, combat, the other kingdoms' expansion (to turn 27), attrition and repair (from
// turn 14). Returns the kingdom whose capital alone still stands, else 0.
std::int32_t PlayStrategicTurn();
