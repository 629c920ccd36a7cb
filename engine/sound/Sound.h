// The sound system as start-up, shut-down and the message pump see it. The
// engine carries no sound output of its own here: the system keeps its
// handle table so that start-up and shut-down run their steps, and the
// streaming and player refreshes have nothing to service.
#pragma once

#include <cstdint>

// 1 between a successful StartupSound and ShutdownSound.
extern int soundStarted;

// Start-up step: 0, or -1 (start-up goes on either way).
int StartupSound();
// Shut-down step, only when started; its last line is
// "DirectSound の終了処理は正常に終了しました\n". 0.
int ShutdownSound();

// The pump's sound servicing.
void RefreshStreamingSounds();
void RefreshSoundPlayers();

// Music playback: the pump's state check, the window's MCI notification and
// the shut-down step.
void CheckMusicPlayback();
void HandleMusicNotification(uintptr_t wParam, intptr_t lParam);
void StopMusic();
