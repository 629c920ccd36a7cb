// The Direct3D textures of the graphs' TextureSets across a device rebuild:
// released with the old device, made again on the new one, then refilled by
// the graph restore (GraphRestore.h).
#pragma once

// Releases every piece's textures and surfaces of every hardware set; the
// graphs, their pieces' geometry and their source files stay.
void ReleaseGraphTextures();

// Makes the released textures again on the new device (CreateGraphTextures
// of the graph upload). The upload to textures is not built yet: with no
// hardware set alive this is done (0); a live hardware set cannot be made
// again, which is reported as -1.
int RecreateGraphTextures();

// Called once a rebuilt device is ready and the graphs are restored; null
// when nothing is registered.
using DeviceRestoredCallback = void (*)();
extern DeviceRestoredCallback deviceRestoredCallback;
