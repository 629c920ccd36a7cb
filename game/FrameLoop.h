// The program's only loop: one turn per presented frame.
#pragma once

// Runs turns until the engine asks for the end, clearing or presenting
// fails, or no phase is current. The phases still alive afterwards are
// left to the caller (ReleaseAllPhases).
void RunFrameLoop();
