#include "engine/text_input/TextInput.h"

#include "engine/services/Log.h"

namespace {

// A ring of characters; one slot stays free to tell full from empty.
struct CharacterBuffer {
  uint8_t characters[CHARACTER_BUFFER_SIZE];
  int head;  // next to take
  int tail;  // next to store
};
CharacterBuffer characterBuffer;

// The control codes WM_CHAR never stores.
bool IsDroppedControlCode(int c) {
  switch (c) {
    case 0: case 2: case 4: case 5: case 6: case 7: case 11: case 12: case 14: case 15:
    case 17: case 18: case 19: case 20: case 21: case 23: case 25: case 26:
    case 28: case 29: case 30: case 31:
      return true;
    default:
      return false;
  }
}

void Store(int c) {
  const int next = (characterBuffer.tail + 1) % CHARACTER_BUFFER_SIZE;
  if (next == characterBuffer.head) return;  // full: the character is lost
  characterBuffer.characters[characterBuffer.tail] = static_cast<uint8_t>(c);
  characterBuffer.tail = next;
}

}  // namespace

void InitializeCharacterBuffer() {
  WriteLog("文字コードバッファの初期化を行います... ");
  characterBuffer = CharacterBuffer{};
  WriteLog("完了しました\n");
}

void FeedTextInputCharacter(int character) {
  if (IsDroppedControlCode(character)) return;
  Store(character == 10 ? 13 : character);
}

void FeedTextInputKey(int) {}

port::LResult HandleImeMessage(port::WindowHandle window, uint32_t message, port::WParam wParam,
                               port::LParam lParam) {
  // No input-method editor is enabled for the main window: the system's
  // default handling applies.
  return port::DefWindowProcA(window, message, wParam, lParam);
}

void ProcessTextInput() {}

void ReleaseTextInputHandles() {}

int TakeBufferedCharacter() {
  if (characterBuffer.head == characterBuffer.tail) return -1;
  const int c = characterBuffer.characters[characterBuffer.head];
  characterBuffer.head = (characterBuffer.head + 1) % CHARACTER_BUFFER_SIZE;
  return c;
}

int BufferedCharacterCount() {
  return (characterBuffer.tail - characterBuffer.head + CHARACTER_BUFFER_SIZE) % CHARACTER_BUFFER_SIZE;
}
