#include "engine/network/Network.h"

#include "engine/services/Log.h"

int networkStarted = 0;

void ProcessSocketMessages() {}

intptr_t HandleSocketMessage(uintptr_t, intptr_t) { return 0; }

int TerminateNetwork() {
  if (!networkStarted) return 0;
  WriteLog("ネットワーク関連の終了処理を行います \n");
  networkStarted = 0;
  WriteLog("ネットワーク関連の終了処理は完了しました\n");
  return 0;
}
