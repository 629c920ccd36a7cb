// The Direct3D textures of the graphs' TextureSets: made when a hardware
// graph is created, released with the old device before a rebuild and made
// again on the new one, then refilled by the graph restore (GraphRestore.h).
#pragma once

struct TextureSet;

// Makes the texture of every piece of the set that has none yet (with a
// system-memory twin to write through on a 9Ex device, whose managed pool
// does not exist), takes its first surface and clears it. 0, or -1 with the
// failing step's log line; pieces made so far keep their textures, the
// failing piece keeps none.
int CreateGraphTextures(TextureSet* set);

// Releases the textures and surfaces of every piece of one set (the
// pieces' geometry stays), leaving their pointers null.
void ReleaseSetTextures(TextureSet* set);

// Releases every piece's textures and surfaces of every hardware set; the
// graphs, their pieces' geometry and their source files stay.
void ReleaseGraphTextures();

// Makes the released textures again on the new device (cleared; the graph
// restore refills them). Every set is tried; 0, or -1 when a set's textures
// could not all be made (those sets keep what was made and are completed by
// the next call).
int RecreateGraphTextures();

// 1 when a hardware set in use lacks a texture (a rebuild could not make it).
int GraphTexturesMissing();
