#include "game/TitlePhase.h"

#include "game/Colors.h"
#include "game/GamePhase.h"
#include "game/Keys.h"
#include "game/Text.h"
#include "game/Version.h"

void TitlePhase::Update() {
  RefreshKeys();
  if (IsPressed(KEY_Z)) currentPhase = new GamePhase();
  // Checked after Z: both in one frame end the program with no game shown.
  if (IsPressed(KEY_ESCAPE)) currentPhase = nullptr;
}

void TitlePhase::Draw() {
  // The title's last glyph, cell 0x40 ('@'), is the sheet's ornament.
  DrawString(COLOR_WHITE, "ﾎ ﾉ ﾐ ｶ ｻ @", 224, 184);
  DrawString(COLOR_WHITE, "Zｷｰ ﾊｼﾞﾒﾙ", 256, 359);
  DrawString(COLOR_WHITE, "Esc   ｵﾜﾙ", 256, 409);
  DrawString(COLOR_GREY, HONOMIKASA_VERSION "   " HONOMIKASA_CREDIT, 0, 568);
}
