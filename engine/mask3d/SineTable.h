// The sine table of the mask and 3D math routines: 65 536 entries for one
// full turn, made at the end of start-up and released at shut-down.
#pragma once

constexpr int SINE_TABLE_SIZE = 65536;

// 0, or -1 when the table cannot be allocated.
int BuildSineTable();
void ReleaseSineTable();
// sin(2 pi angle / 65536); 0 while the table does not exist.
float TableSine(int angle);
