// The text-input character buffer fed by the main window's key and
// character messages, and the input-method editor hooks. Nothing in this
// program reads typed text; the buffer keeps what the window delivers.
#pragma once

#include <cstdint>

#include "engine/platform/WindowPort.h"

constexpr int CHARACTER_BUFFER_SIZE = 256;

// Start-up step 18: logs "文字コードバッファの初期化を行います... " and
// "完了しました\n" and empties the buffer.
void InitializeCharacterBuffer();

// WM_CHAR: stores the character, except the control codes the buffer never
// holds; a line feed is stored as a carriage return.
void FeedTextInputCharacter(int character);
// WM_KEYDOWN: the editing keys the input line would act on.
void FeedTextInputKey(int virtualKey);
// The IME messages; the result is the window procedure's.
port::LResult HandleImeMessage(port::WindowHandle window, uint32_t message, port::WParam wParam,
                               port::LParam lParam);
// The pump's text-input processing.
void ProcessTextInput();
// CloseMainWindow: releases the input handles and the dropped-file list.
void ReleaseTextInputHandles();

// Takes the oldest stored character; -1 when the buffer is empty.
int TakeBufferedCharacter();
// Number of characters waiting.
int BufferedCharacterCount();
