#include "engine/sound/Sound.h"

#include "engine/services/Log.h"
#include "engine/services/Memory.h"

int soundStarted = 0;

namespace {

// One entry per sound handle the game may create.
constexpr int SOUND_HANDLE_LIMIT = 32768;

struct SoundRecord {
  int used;
  int check;
};

SoundRecord* soundTable = nullptr;
int musicPlaying = 0;

}  // namespace

int StartupSound() {
  if (soundStarted) return 0;
  WriteLog("DirectSound の初期化を行います\n");
  soundTable = static_cast<SoundRecord*>(MemCalloc(sizeof(SoundRecord) * SOUND_HANDLE_LIMIT, "", 0));
  if (soundTable == nullptr) {
    WriteLog("サウンドハンドルの管理領域の確保に失敗しました\n");
    return -1;
  }
  soundStarted = 1;
  WriteLog("DirectSound の初期化は正常に終了しました\n");
  return 0;
}

int ShutdownSound() {
  if (!soundStarted) return 0;
  WriteLog("DirectSound の終了処理を行います\n");
  MemFree(soundTable);
  soundTable = nullptr;
  soundStarted = 0;
  WriteLog("DirectSound の終了処理は正常に終了しました\n");
  return 0;
}

void RefreshStreamingSounds() {}
void RefreshSoundPlayers() {}

void CheckMusicPlayback() {}
void HandleMusicNotification(uintptr_t, intptr_t) { musicPlaying = 0; }
void StopMusic() { musicPlaying = 0; }
