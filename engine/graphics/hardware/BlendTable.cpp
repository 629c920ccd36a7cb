#include "engine/graphics/hardware/BlendTable.h"

#include "engine/graphics/hardware/DeviceStateCache.h"
#include "engine/platform/Direct3D9Port.h"

using namespace port;

const BlendModeEntry blendModeTable[BLEND_MODE_COUNT] = {
    {BLENDING_OFF, 0, 0, 0, COLOR_PLAIN},                                                // 0
    {BLENDING_ON, D3DBLEND_SRCALPHA, D3DBLEND_INVSRCALPHA, D3DBLENDOP_ADD, COLOR_PLAIN},  // 1
    {BLENDING_ON, D3DBLEND_SRCALPHA, D3DBLEND_ONE, D3DBLENDOP_ADD, COLOR_PLAIN},          // 2
    {BLENDING_ON, D3DBLEND_SRCALPHA, D3DBLEND_ONE, D3DBLENDOP_REVSUBTRACT, COLOR_PLAIN},  // 3
    {BLENDING_ON, D3DBLEND_ZERO, D3DBLEND_SRCCOLOR, D3DBLENDOP_ADD, COLOR_PLAIN},         // 4
    {BLENDING_ON, D3DBLEND_SRCALPHA, D3DBLEND_ONE, D3DBLENDOP_ADD, COLOR_PLAIN},          // 5
    {BLENDING_OFF, 0, 0, 0, COLOR_PLAIN},                                                // 6
    {BLENDING_KEEP_FACTORS, 0, 0, 0, COLOR_PLAIN},                                       // 7
    {BLENDING_ON, D3DBLEND_ZERO, D3DBLEND_ONE, D3DBLENDOP_ADD, COLOR_PLAIN},              // 8
    {BLENDING_ON, D3DBLEND_INVDESTCOLOR, D3DBLEND_ZERO, D3DBLENDOP_ADD, COLOR_PLAIN},      // 9
    {BLENDING_ON, D3DBLEND_SRCALPHA, D3DBLEND_INVSRCALPHA, D3DBLENDOP_ADD, COLOR_INVERTED},
    {BLENDING_ON, D3DBLEND_ZERO, D3DBLEND_SRCCOLOR, D3DBLENDOP_ADD, COLOR_TOWARD_WHITE},
    {BLENDING_ON, D3DBLEND_SRCALPHA, D3DBLEND_INVSRCALPHA, D3DBLENDOP_ADD, COLOR_MODULATE4X},
    {BLENDING_ON, D3DBLEND_SRCALPHA, D3DBLEND_ONE, D3DBLENDOP_ADD, COLOR_MODULATE4X},
    {BLENDING_ON, D3DBLEND_SRCALPHA, D3DBLEND_ONE, D3DBLENDOP_REVSUBTRACT, COLOR_PLAIN},  // 14
};

const BlendModeEntry invertingBlendEntry = {BLENDING_ON, D3DBLEND_INVDESTCOLOR, D3DBLEND_ZERO,
                                            D3DBLENDOP_ADD, COLOR_PLAIN};

namespace {

constexpr uint32_t TEXTURE_FACTOR_WHITE = 0xFFFFFFFFu;
constexpr uint32_t ALPHA_REFERENCE = 16;

// The entry of a mode; a value outside the table has no meaning, and is
// drawn as mode 0 rather than read past the table.
const BlendModeEntry& EntryOf(const DrawConditions& c) {
  if (c.blendMode < 0 || c.blendMode >= BLEND_MODE_COUNT) return blendModeTable[0];
  if (c.blendMode == 3 && !c.subtractiveBlend) return invertingBlendEntry;
  return blendModeTable[c.blendMode];
}

// Multiplication's factors (zero, source colour) never read the alpha.
constexpr int MULTIPLY_MODE = 4;

// Whether the texture alpha is used, and how: for blending, or by the
// alpha test. A keyed texel of an alpha-test texture under multiplication
// would multiply the target by the key's black, since the factors ignore
// its alpha 0: the alpha test drops it, as the software renderer skips
// keyed pixels in every mode.
void ChooseTransparency(const DrawConditions& c, DrawSetup* setup) {
  setup->alphaTest = 0;
  setup->textureAlphaBlends = 0;
  if (!c.textured || !c.transparent || !(c.textureAlpha || c.textureAlphaTest)) return;
  const bool keyedMultiply = c.blendMode == MULTIPLY_MODE && c.textureAlphaTest;
  if (c.blendMode != 0 && c.blendMode != 8 && !keyedMultiply)
    setup->textureAlphaBlends = 1;
  else if (c.textureAlphaTest)
    setup->alphaTest = 1;
  else
    setup->textureAlphaBlends = 1;
}

void ChooseBlending(const BlendModeEntry& entry, DrawSetup* setup) {
  setup->setFactors = 0;
  switch (entry.blending) {
    case BLENDING_OFF:
      // The texture alpha still weighs the source when it makes the
      // transparency.
      setup->blendEnable = setup->textureAlphaBlends;
      if (setup->blendEnable) {
        setup->setFactors = 1;
        setup->sourceBlend = D3DBLEND_SRCALPHA;
        setup->destinationBlend = D3DBLEND_INVSRCALPHA;
        setup->blendOperation = D3DBLENDOP_ADD;
      }
      break;
    case BLENDING_ON:
      setup->blendEnable = 1;
      setup->setFactors = 1;
      setup->sourceBlend = entry.sourceBlend;
      setup->destinationBlend = entry.destinationBlend;
      setup->blendOperation = entry.blendOperation;
      break;
    case BLENDING_KEEP_FACTORS: setup->blendEnable = 1; break;
  }
}

// Stage 0. Argument 1 is the texture (the diffuse colour for boxes),
// argument 2 the diffuse colour; the operation picks from them.
void ChooseStageZero(const DrawConditions& c, const BlendModeEntry& entry, DrawSetup* setup) {
  DrawSetup::Stage& stage = setup->stages[0];
  uint32_t inverted = entry.variant == COLOR_INVERTED ? D3DTA_COMPLEMENT : 0;
  stage.colorArg2 = D3DTA_DIFFUSE;
  stage.alphaArg2 = D3DTA_DIFFUSE;
  if (!c.textured) {
    stage.colorArg1 = D3DTA_DIFFUSE | inverted;
    stage.colorOp = D3DTOP_SELECTARG1;
    stage.alphaArg1 = D3DTA_DIFFUSE;
    stage.alphaOp = D3DTOP_SELECTARG1;
    return;
  }
  stage.colorArg1 = D3DTA_TEXTURE | inverted;
  if (entry.variant == COLOR_MODULATE4X)
    stage.colorOp = D3DTOP_MODULATE4X;
  else
    stage.colorOp = c.modulationWhite ? D3DTOP_SELECTARG1 : D3DTOP_MODULATE;
  stage.alphaArg1 = D3DTA_TEXTURE;
  // Mode 0 and the keyed multiplication take no parameter: their alpha is
  // the texel's own.
  if (!setup->textureAlphaBlends && !setup->alphaTest)
    stage.alphaOp = D3DTOP_SELECTARG2;
  else if (c.blendMode == 0 || (c.blendMode == MULTIPLY_MODE && setup->alphaTest))
    stage.alphaOp = D3DTOP_SELECTARG1;
  else
    stage.alphaOp = D3DTOP_MODULATE;
}

// Stage 1 is off but for the colour blended toward white: current x alpha
// + white x (1 - alpha), with white from the texture factor.
void ChooseStageOne(const BlendModeEntry& entry, DrawSetup* setup) {
  DrawSetup::Stage& stage = setup->stages[1];
  setup->setTextureFactor = 0;
  setup->textureFactor = 0;
  if (entry.variant != COLOR_TOWARD_WHITE) {
    stage = {D3DTOP_DISABLE, D3DTA_CURRENT, D3DTA_TFACTOR, D3DTOP_DISABLE, D3DTA_CURRENT,
             D3DTA_TFACTOR};
    return;
  }
  stage = {D3DTOP_BLENDCURRENTALPHA, D3DTA_CURRENT, D3DTA_TFACTOR, D3DTOP_SELECTARG1, D3DTA_CURRENT,
           D3DTA_TFACTOR};
  setup->setTextureFactor = 1;
  setup->textureFactor = TEXTURE_FACTOR_WHITE;
}

uint32_t FilterOf(int filter) {
  if (filter == 1) return D3DTEXF_LINEAR;
  if (filter == 2) return D3DTEXF_ANISOTROPIC;
  return D3DTEXF_POINT;
}

void SendStage(uint32_t index, const DrawSetup::Stage& stage) {
  SetStageStateCached(index, D3DTSS_COLOROP, stage.colorOp);
  SetStageStateCached(index, D3DTSS_COLORARG1, stage.colorArg1);
  SetStageStateCached(index, D3DTSS_COLORARG2, stage.colorArg2);
  SetStageStateCached(index, D3DTSS_ALPHAOP, stage.alphaOp);
  SetStageStateCached(index, D3DTSS_ALPHAARG1, stage.alphaArg1);
  SetStageStateCached(index, D3DTSS_ALPHAARG2, stage.alphaArg2);
}

}  // namespace

DrawSetup ChooseDrawSetup(const DrawConditions& conditions) {
  DrawSetup setup = {};
  const BlendModeEntry& entry = EntryOf(conditions);
  ChooseTransparency(conditions, &setup);
  ChooseBlending(entry, &setup);
  ChooseStageZero(conditions, entry, &setup);
  ChooseStageOne(entry, &setup);
  return setup;
}

void ApplyDrawSetup(const DrawSetup& setup, int filter, int maxAnisotropy) {
  SetRenderStateCached(D3DRS_ZENABLE, 0);
  SetRenderStateCached(D3DRS_SHADEMODE, D3DSHADE_FLAT);
  SetRenderStateCached(D3DRS_FILLMODE, D3DFILL_SOLID);
  SetRenderStateCached(D3DRS_ALPHATESTENABLE, setup.alphaTest ? 1 : 0);
  if (setup.alphaTest) {
    SetRenderStateCached(D3DRS_ALPHAREF, ALPHA_REFERENCE);
    SetRenderStateCached(D3DRS_ALPHAFUNC, D3DCMP_GREATER);
  }
  SetRenderStateCached(D3DRS_ALPHABLENDENABLE, setup.blendEnable ? 1 : 0);
  if (setup.setFactors) {
    SetRenderStateCached(D3DRS_SRCBLEND, setup.sourceBlend);
    SetRenderStateCached(D3DRS_DESTBLEND, setup.destinationBlend);
    SetRenderStateCached(D3DRS_BLENDOP, setup.blendOperation);
  }
  if (setup.setTextureFactor) SetRenderStateCached(D3DRS_TEXTUREFACTOR, setup.textureFactor);
  SendStage(0, setup.stages[0]);
  SetStageStateCached(0, D3DTSS_TEXCOORDINDEX, 0);
  SendStage(1, setup.stages[1]);
  uint32_t textureFilter = FilterOf(filter);
  SetSamplerStateCached(0, D3DSAMP_MINFILTER, textureFilter);
  SetSamplerStateCached(0, D3DSAMP_MAGFILTER, textureFilter);
  if (textureFilter == D3DTEXF_ANISOTROPIC)
    SetSamplerStateCached(0, D3DSAMP_MAXANISOTROPY, uint32_t(maxAnisotropy));
  SetSamplerStateCached(0, D3DSAMP_ADDRESSU, D3DTADDRESS_CLAMP);
  SetSamplerStateCached(0, D3DSAMP_ADDRESSV, D3DTADDRESS_CLAMP);
  SetNoShaders();
}
