// Sine and cosine per thousandth of a degree, built once at start-up.
#pragma once

// pi/180 from a slightly short pi; every degree conversion of the program uses it.
constexpr double DEG_TO_RAD = 0.017453292516666667;
constexpr int TRIG_TABLE_SIZE = 3600000;

extern float* SinTable;  // TRIG_TABLE_SIZE entries, or nullptr before BuildTrigTables
extern float* CosTable;

// Creates and fills both tables on every core; does nothing when they exist or are being filled.
void BuildTrigTables();
// Start-up's way of building them: BeginTrigTables creates the tables and starts filling them on
// a helper thread; FinishTrigTables fills the rest on this thread too and waits for the helper.
// Nothing may read the tables in between (BuildTrigTables then leaves the filling to go on).
void BeginTrigTables();
void FinishTrigTables();
void ReleaseTrigTables();
