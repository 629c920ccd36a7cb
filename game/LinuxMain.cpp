// The Linux program starts where the Windows one does.
#include "game/WinMain.h"

int main() { return WinMain(nullptr, nullptr, nullptr, 0); }
