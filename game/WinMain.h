// The program's entry point, named and linked as the platform's GUI entry
// (the Windows start-up code calls it; LinuxMain.cpp calls it from main).
#pragma once

// Asks whether to run full screen, starts the engine, runs the game and
// shuts everything down. The arguments are ignored. -1 when the engine
// fails to start, otherwise 0.
extern "C" int WinMain(void* instance, void* previousInstance, char* commandLine, int showCommand);
