// The Direct3D states of hardware mode behind a cache: every setter keeps
// the last value it asked for and sends it only when it differs from what
// the device has, drawing the waiting vertices first (they belong to the
// states in force). A value the device refused is sent again by the next
// setter. A new device knows none of the values; a rebuilt one gets all of
// them sent again.
#pragma once

#include <cstdint>

#include "engine/platform/Direct3D9Port.h"

void SetRenderStateCached(uint32_t state, uint32_t value);
void SetStageStateCached(uint32_t stage, uint32_t type, uint32_t value);
void SetSamplerStateCached(uint32_t sampler, uint32_t type, uint32_t value);
// Stage 0's texture.
void BindTexture(port::Direct3DTexture9Handle texture);
// Unbinds stage 0's texture whatever the cache holds (a change of render
// target always unbinds).
void SendTextureUnbound();
// Neither a vertex nor a pixel shader.
void SetNoShaders();
// The batch's vertex format; sent without drawing first, as only the
// batch's own draw changes it.
void SetVertexFormat(uint32_t fvf);

// The render states every device gets once, when it is made: no culling,
// no dithering, no fog, no lighting, no specular.
void SetDeviceStatesOnce();
