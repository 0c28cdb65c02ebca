// The room shapes the dungeon generator cuts its rooms from.
#pragma once

constexpr int ROOM_TEMPLATE_COUNT = 44;
constexpr int TEMPLATE_ROW_CHARS = 30;  // characters per row of a template string
constexpr int TEMPLATE_ROWS = 33;       // a header row and 32 shape rows
constexpr int TEMPLATE_CHARS = TEMPLATE_ROW_CHARS * TEMPLATE_ROWS;

// Each string: row 0 is the header "jk", width letter, height letter, two extra-width letters
// ('a' = 1, '0' = none), then '0's; rows 1..height hold the shape in columns 0..width-1, 'd' a
// floor cell, 'p' a feature cell, '0' nothing. Rows follow each other without separators.
extern const char* const RoomTemplate[ROOM_TEMPLATE_COUNT];

// A template's size as its header gives it; 0 for an index outside the table.
int TemplateWidth(int roomTemplate);
int TemplateHeight(int roomTemplate);
