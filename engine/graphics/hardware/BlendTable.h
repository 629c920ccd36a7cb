// How each blend mode is made on Direct3D 9: the blend factors and
// operation, whether blending is on, and how texture stage 0 (and for one
// mode stage 1) forms the source colour; and the choice, for one draw, of
// every state that depends on the draw state and the texture.
#pragma once

#include <cstdint>

// What texture stage 0 does with the colour.
enum ColorVariant {
  COLOR_PLAIN,         // the texture (times the diffuse colour when modulated)
  COLOR_INVERTED,      // the inverted texture colour
  COLOR_TOWARD_WHITE,  // stage 1 blends the colour toward white by its alpha
  COLOR_MODULATE4X,    // texture times diffuse, times four
};

enum BlendSwitch {
  BLENDING_OFF,
  BLENDING_ON,            // with the mode's factors
  BLENDING_KEEP_FACTORS,  // on, with whatever factors were set before
};

struct BlendModeEntry {
  BlendSwitch blending;
  uint32_t sourceBlend, destinationBlend, blendOperation;
  ColorVariant variant;
};

constexpr int BLEND_MODE_COUNT = 15;
extern const BlendModeEntry blendModeTable[BLEND_MODE_COUNT];
// Mode 3's factors on a device without subtractive blending: they invert
// the target under a white source (the three-pass subtraction).
extern const BlendModeEntry invertingBlendEntry;

// What one draw depends on.
struct DrawConditions {
  int textured;
  int transparent;       // PutGraph's flag
  int textureAlpha;      // the texture set has an alpha channel
  int textureAlphaTest;  // the texture set has an alpha-test format
  int blendMode;
  int modulationWhite;
  int subtractiveBlend;  // the device can subtract
};

// The states a draw is made with.
struct DrawSetup {
  int alphaTest;           // on the texture alpha, reference 16, GREATER
  int textureAlphaBlends;  // the texture alpha weighs the source
  int blendEnable;
  int setFactors;  // 0: the factors stay as they were
  uint32_t sourceBlend, destinationBlend, blendOperation;
  // Texture stages 0 and 1: colour and alpha operations and arguments.
  struct Stage {
    uint32_t colorOp, colorArg1, colorArg2, alphaOp, alphaArg1, alphaArg2;
  } stages[2];
  int setTextureFactor;
  uint32_t textureFactor;
};

DrawSetup ChooseDrawSetup(const DrawConditions& conditions);

// Sends the setup and the states every 2D draw has (no depth test, flat
// shading, solid fill, the filter, clamped addressing, no shaders) through
// the state cache.
void ApplyDrawSetup(const DrawSetup& setup, int filter, int maxAnisotropy);
