// Movie playback as start-up, the window procedure and the message pump see
// it. No movie is ever opened by this program, so pausing, resuming and
// advancing find nothing to do.
#pragma once

#include <cstdint>

// Start-up step 4: the decoder's YUV to RGB conversion tables.
void BuildMovieColorTables();
// The table of one conversion term (for tests): Y, Cr->R, Cb->G, Cr->G,
// Cb->B, 256 entries each, in 16.16 fixed point.
const int32_t* MovieColorTable(int term);

void PauseAllMovies();
void ResumePausedMovies();
void AdvancePlayingMovies();
