// Writing and reading the demo's frames as PNG files.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "engine/platform/headless/HeadlessPresent.h"

// A frame as 8-bit red, green, blue triples, top row first.
struct RgbFrame {
  int width = 0, height = 0;
  std::vector<uint8_t> rgb;
};

// Unpacks a presented 16- or 32-bit frame with its channel masks.
RgbFrame ToRgb(const headless::PresentedFrame& frame);

bool WritePng(const std::string& path, const RgbFrame& frame);
bool ReadPng(const std::string& path, RgbFrame* frame);
