// An animated backdrop of blue noise with four circle outlines, for the engine's screens.
#pragma once

// Every 50 passes composes a new picture in the SavedFrame; on every call copies the
// SavedFrame to the Framebuffer. A frame without pixels is left alone.
void DrawNoiseBackdrop();
