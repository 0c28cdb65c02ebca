// Sine and cosine per thousandth of a degree, built once at start-up.
#pragma once

// pi/180 from a slightly short pi; every degree conversion of the program uses it.
constexpr double DEG_TO_RAD = 0.017453292516666667;
constexpr int TRIG_TABLE_SIZE = 3600000;

extern float* SinTable;  // TRIG_TABLE_SIZE entries, or nullptr before BuildTrigTables
extern float* CosTable;

void BuildTrigTables();
void ReleaseTrigTables();
