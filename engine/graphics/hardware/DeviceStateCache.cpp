#include "engine/graphics/hardware/DeviceStateCache.h"

#include "engine/graphics/hardware/HardwareScene.h"
#include "engine/graphics/hardware/VertexBatch.h"
#include "engine/graphics/records/DisplayDevice.h"

namespace {

constexpr uint32_t RENDER_STATE_COUNT = 256;
constexpr uint32_t STAGE_COUNT = 2;
constexpr uint32_t STAGE_STATE_COUNT = 33;
constexpr uint32_t SAMPLER_COUNT = 1;
constexpr uint32_t SAMPLER_STATE_COUNT = 14;

// A value asked for (wanted) and whether the device has it (sent).
struct CachedValue {
  uint32_t value;
  bool wanted;
  bool sent;
};

struct StateCache {
  CachedValue render[RENDER_STATE_COUNT];
  CachedValue stage[STAGE_COUNT][STAGE_STATE_COUNT];
  CachedValue sampler[SAMPLER_COUNT][SAMPLER_STATE_COUNT];
  CachedValue fvf;
  port::Direct3DTexture9Handle texture;
  bool textureSent;
  bool noShadersSent;
};

StateCache cache;

// True when the device must be told: the value differs from the one it
// has, or it has none from this cache. The value becomes the wanted one,
// and the device's own once it takes it (Sent).
bool Changes(CachedValue& entry, uint32_t value) {
  if (entry.sent && entry.value == value) return false;
  entry.value = value;
  entry.wanted = true;
  return true;
}

// A value the device refused is not its value: the next setter sends it
// again.
void Sent(CachedValue& entry, port::HResult result) { entry.sent = result >= 0; }

template <typename Visit>
void ForEachEntry(Visit visit) {
  for (uint32_t state = 0; state < RENDER_STATE_COUNT; ++state)
    visit(cache.render[state], [state](port::Direct3DDevice9Handle device, uint32_t value) {
      return port::IDirect3DDevice9_SetRenderState(device, state, value);
    });
  for (uint32_t stage = 0; stage < STAGE_COUNT; ++stage)
    for (uint32_t type = 0; type < STAGE_STATE_COUNT; ++type)
      visit(cache.stage[stage][type], [stage, type](port::Direct3DDevice9Handle device, uint32_t value) {
        return port::IDirect3DDevice9_SetTextureStageState(device, stage, type, value);
      });
  for (uint32_t sampler = 0; sampler < SAMPLER_COUNT; ++sampler)
    for (uint32_t type = 0; type < SAMPLER_STATE_COUNT; ++type)
      visit(cache.sampler[sampler][type],
            [sampler, type](port::Direct3DDevice9Handle device, uint32_t value) {
              return port::IDirect3DDevice9_SetSamplerState(device, sampler, type, value);
            });
  visit(cache.fvf, [](port::Direct3DDevice9Handle device, uint32_t value) {
    return port::IDirect3DDevice9_SetFVF(device, value);
  });
}

}  // namespace

namespace {

// Sends a value through SEND when the device does not have it yet, the
// batch drawn first (its vertices were meant for the states before).
template <typename Send>
void SendIfChanged(CachedValue& entry, uint32_t value, Send send) {
  if (entry.sent && entry.value == value) return;
  FlushBatch();
  Changes(entry, value);
  Sent(entry, send(displayDevice.device, value));
}

}  // namespace

void SetRenderStateCached(uint32_t state, uint32_t value) {
  if (displayDevice.device == nullptr || state >= RENDER_STATE_COUNT) return;
  SendIfChanged(cache.render[state], value, [state](port::Direct3DDevice9Handle device, uint32_t v) {
    return port::IDirect3DDevice9_SetRenderState(device, state, v);
  });
}

void SetStageStateCached(uint32_t stage, uint32_t type, uint32_t value) {
  if (displayDevice.device == nullptr || stage >= STAGE_COUNT || type >= STAGE_STATE_COUNT) return;
  SendIfChanged(cache.stage[stage][type], value,
                [stage, type](port::Direct3DDevice9Handle device, uint32_t v) {
                  return port::IDirect3DDevice9_SetTextureStageState(device, stage, type, v);
                });
}

void SetSamplerStateCached(uint32_t sampler, uint32_t type, uint32_t value) {
  if (displayDevice.device == nullptr || sampler >= SAMPLER_COUNT || type >= SAMPLER_STATE_COUNT)
    return;
  SendIfChanged(cache.sampler[sampler][type], value,
                [sampler, type](port::Direct3DDevice9Handle device, uint32_t v) {
                  return port::IDirect3DDevice9_SetSamplerState(device, sampler, type, v);
                });
}

void BindTexture(port::Direct3DTexture9Handle texture) {
  port::Direct3DDevice9Handle device = displayDevice.device;
  if (device == nullptr || (cache.textureSent && cache.texture == texture)) return;
  FlushBatch();
  cache.texture = texture;
  cache.textureSent = port::IDirect3DDevice9_SetTexture(device, 0, texture) >= 0;
}

void SendTextureUnbound() {
  port::Direct3DDevice9Handle device = displayDevice.device;
  if (device == nullptr) return;
  FlushBatch();
  cache.texture = nullptr;
  cache.textureSent = port::IDirect3DDevice9_SetTexture(device, 0, nullptr) >= 0;
}

void SetNoShaders() {
  port::Direct3DDevice9Handle device = displayDevice.device;
  if (device == nullptr || cache.noShadersSent) return;
  FlushBatch();
  const bool vertex = port::IDirect3DDevice9_SetVertexShaderNone(device) >= 0;
  const bool pixel = port::IDirect3DDevice9_SetPixelShaderNone(device) >= 0;
  cache.noShadersSent = vertex && pixel;
}

void SetVertexFormat(uint32_t fvf) {
  port::Direct3DDevice9Handle device = displayDevice.device;
  if (device == nullptr || !Changes(cache.fvf, fvf)) return;
  Sent(cache.fvf, port::IDirect3DDevice9_SetFVF(device, fvf));
}

void SetDeviceStatesOnce() {
  SetRenderStateCached(port::D3DRS_CULLMODE, port::D3DCULL_NONE);
  SetRenderStateCached(port::D3DRS_DITHERENABLE, 0);
  SetRenderStateCached(port::D3DRS_FOGENABLE, 0);
  SetRenderStateCached(port::D3DRS_LIGHTING, 0);
  SetRenderStateCached(port::D3DRS_SPECULARENABLE, 0);
}

// The new device has none of the values: each is sent at its next use
// (or by ResendCachedStates). The bound texture is forgotten altogether,
// since the textures of the old device are gone.
void ResetStateCaches() {
  ForEachEntry([](CachedValue& entry, auto) { entry.sent = false; });
  cache.texture = nullptr;
  cache.textureSent = false;
  cache.noShadersSent = false;
}

// A rebuilt device gets every value the old one was asked for.
void ResendCachedStates() {
  port::Direct3DDevice9Handle device = displayDevice.device;
  if (device == nullptr) return;
  FlushBatch();
  ForEachEntry([device](CachedValue& entry, auto send) {
    if (!entry.wanted) return;
    Sent(entry, send(device, entry.value));
  });
  cache.noShadersSent = false;
  SetNoShaders();
}
