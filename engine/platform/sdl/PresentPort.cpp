// The software screen shown through a streaming SDL texture on the main
// window's renderer.
//
// While the window covers the desktop for an emulated display mode
// (DisplayModes.cpp), the frame is enlarged to the largest rectangle of its
// aspect that fits, centred on black. It stays sharp: the frame is first
// enlarged by the largest whole factor that fits, each pixel a square, and
// only what remains is smoothed with a linear filter.
#include <SDL.h>

#include <cstdlib>
#include <string>  // SdlWindow.h uses std::string

#include "engine/platform/PresentPort.h"
#include "engine/platform/sdl/SdlWindow.h"

namespace {

// The renderer and texture that show the frames of one window.
struct FrameTarget {
  SDL_Window* window = nullptr;
  SDL_Renderer* renderer = nullptr;
  SDL_Texture* texture = nullptr;
  uint32_t textureFormat = 0;
  int textureWidth = 0, textureHeight = 0;
  // The frame enlarged by a whole factor, the first step of a sharp
  // enlargement.
  SDL_Texture* enlarged = nullptr;
  int enlargedWidth = 0, enlargedHeight = 0;
};
FrameTarget frameTarget;

uint32_t SdlFormatOf(const port::BitmapInfo& info) {
  if (info.biBitCount == 32 && info.masks[0] == 0xFF0000 && info.masks[1] == 0xFF00 &&
      info.masks[2] == 0xFF)
    return SDL_PIXELFORMAT_RGB888;
  if (info.biBitCount == 16 && info.masks[0] == 0xF800 && info.masks[1] == 0x07E0 &&
      info.masks[2] == 0x001F)
    return SDL_PIXELFORMAT_RGB565;
  if (info.biBitCount == 16 && info.masks[0] == 0x7C00 && info.masks[1] == 0x03E0 &&
      info.masks[2] == 0x001F)
    return SDL_PIXELFORMAT_RGB555;
  return SDL_PIXELFORMAT_UNKNOWN;
}

bool PrepareTarget(SDL_Window* window, uint32_t format, int width, int height) {
  if (frameTarget.window != window) {
    if (frameTarget.texture) SDL_DestroyTexture(frameTarget.texture);
    if (frameTarget.enlarged) SDL_DestroyTexture(frameTarget.enlarged);
    frameTarget = FrameTarget{};
    frameTarget.window = window;
    frameTarget.renderer = SDL_GetRenderer(window);
    if (frameTarget.renderer == nullptr) frameTarget.renderer = SDL_CreateRenderer(window, -1, 0);
    if (frameTarget.renderer == nullptr) return false;
  }
  if (frameTarget.texture == nullptr || frameTarget.textureFormat != format ||
      frameTarget.textureWidth != width || frameTarget.textureHeight != height) {
    if (frameTarget.texture) SDL_DestroyTexture(frameTarget.texture);
    if (frameTarget.enlarged) SDL_DestroyTexture(frameTarget.enlarged);
    frameTarget.enlarged = nullptr;
    frameTarget.texture = SDL_CreateTexture(frameTarget.renderer, format,
                                            SDL_TEXTUREACCESS_STREAMING, width, height);
    frameTarget.textureFormat = format;
    frameTarget.textureWidth = width;
    frameTarget.textureHeight = height;
  }
  return frameTarget.texture != nullptr;
}

// The texture of the frame enlarged to width x height, made when first
// needed; null when the renderer cannot draw into textures.
SDL_Texture* EnlargedTexture(int width, int height) {
  if (frameTarget.enlarged != nullptr && frameTarget.enlargedWidth == width &&
      frameTarget.enlargedHeight == height)
    return frameTarget.enlarged;
  if (frameTarget.enlarged) SDL_DestroyTexture(frameTarget.enlarged);
  frameTarget.enlarged = nullptr;
  if (!SDL_RenderTargetSupported(frameTarget.renderer)) return nullptr;
  frameTarget.enlarged = SDL_CreateTexture(frameTarget.renderer, frameTarget.textureFormat,
                                           SDL_TEXTUREACCESS_TARGET, width, height);
  frameTarget.enlargedWidth = width;
  frameTarget.enlargedHeight = height;
  return frameTarget.enlarged;
}

// The frame texture onto the destination rectangle, kept sharp: square
// pixels by the whole factor, then a linear filter for the rest.
void CopyFrame(const SDL_Rect& destination) {
  const emulated::PictureSize frame{frameTarget.textureWidth, frameTarget.textureHeight};
  const emulated::ScaledPicture fit = emulated::FitPictureToScreen(frame, {destination.w, destination.h});
  const emulated::ScalingSteps steps = emulated::SharpScalingSteps(fit, frame);
  SDL_Texture* source = frameTarget.texture;
  SDL_SetTextureScaleMode(source, SDL_ScaleModeNearest);
  if (steps.smooth && steps.wholeFactor > 1) {
    SDL_Texture* enlarged = EnlargedTexture(frame.width * steps.wholeFactor, frame.height * steps.wholeFactor);
    if (enlarged != nullptr && SDL_SetRenderTarget(frameTarget.renderer, enlarged) == 0) {
      SDL_RenderCopy(frameTarget.renderer, source, nullptr, nullptr);
      SDL_SetRenderTarget(frameTarget.renderer, nullptr);
      source = enlarged;
    }
  }
  SDL_SetTextureScaleMode(source, steps.smooth ? SDL_ScaleModeLinear : SDL_ScaleModeNearest);
  SDL_RenderCopy(frameTarget.renderer, source, nullptr, &destination);
}

// The destination rectangle (in the client area the engine sees) on the
// window's real surface: while the window covers the desktop, through the
// scaling of the display mode's screen onto it.
SDL_Rect DestinationOnWindow(SDL_Window* window, int x, int y, int width, int height) {
  emulated::PictureSize screen{};
  port::Point origin{};
  int outputWidth = 0, outputHeight = 0;
  if (!sdlwindow::CoveredScreen(window, &screen, &origin) ||
      SDL_GetRendererOutputSize(frameTarget.renderer, &outputWidth, &outputHeight) != 0)
    return SDL_Rect{x, y, width, height};
  const emulated::ScaledPicture shown = emulated::FitPictureToScreen(screen, {outputWidth, outputHeight});
  const port::WindowRect area = emulated::PictureToScreen(
      {origin.x + x, origin.y + y, origin.x + x + width, origin.y + y + height}, shown, screen);
  return SDL_Rect{area.left, area.top, area.right - area.left, area.bottom - area.top};
}

// The DIB's top rows (it must be top-down) onto the destination rectangle.
int ShowFrame(port::DeviceContext dc, int xDest, int yDest, int destWidth, int destHeight,
              int width, int height, const void* bits, const port::BitmapInfo* info) {
  SDL_Window* window = sdlwindow::WindowOfDeviceContext(dc);
  if (window == nullptr || bits == nullptr || info == nullptr || info->biHeight >= 0 ||
      width <= 0 || height <= 0)
    return 0;
  uint32_t format = SdlFormatOf(*info);
  if (format == SDL_PIXELFORMAT_UNKNOWN || !PrepareTarget(window, format, width, height)) return 0;
  int pitch = ((std::abs(info->biWidth) * info->biBitCount / 8) + 3) & ~3;
  if (SDL_UpdateTexture(frameTarget.texture, nullptr, bits, pitch) != 0) return 0;
  const SDL_Rect destination = DestinationOnWindow(window, xDest, yDest, destWidth, destHeight);
  SDL_SetRenderDrawColor(frameTarget.renderer, 0, 0, 0, 255);
  SDL_RenderClear(frameTarget.renderer);
  CopyFrame(destination);
  SDL_RenderPresent(frameTarget.renderer);
  return height;
}

}  // namespace

namespace port {

int SetDIBitsToDevice(DeviceContext dc, int xDest, int yDest, uint32_t width, uint32_t height,
                      int, int, uint32_t, uint32_t, const void* bits, const BitmapInfo* info,
                      unsigned) {
  return ShowFrame(dc, xDest, yDest, int(width), int(height), int(width), int(height), bits, info);
}

int StretchDIBits(DeviceContext dc, int xDest, int yDest, int destWidth, int destHeight, int, int,
                  int srcWidth, int srcHeight, const void* bits, const BitmapInfo* info, unsigned,
                  uint32_t) {
  return ShowFrame(dc, xDest, yDest, destWidth, destHeight, srcWidth, srcHeight, bits, info);
}

}  // namespace port
