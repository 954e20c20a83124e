// The drawing device on an SDL renderer, shared by the window (real) and the off-screen
// surface (headless): textures, quads, fonts, text and device loss. Presenting and reading
// the finished frame back are left to the two kinds. Internal to platform/.
#pragma once

#include <memory>
#include <string>

#include "platform/device_loss.h"
#include "platform/display.h"
#include "platform/sdl/sdl_handles.h"
#include "platform/sdl/sdl_text.h"
#include "platform/sdl/sdl_textures.h"

namespace platform {

class SdlDevice : public Device {
 public:
  // `backing` is whatever the renderer draws into or through (window, surface); it is let
  // go only after the renderer and everything made with it.
  SdlDevice(std::shared_ptr<void> backing, RendererPtr renderer, std::shared_ptr<DeviceLoss> loss);
  ~SdlDevice() override;

  int32_t TestCooperativeLevel() override { return loss_->Test(); }
  bool Reset() override;
  void Clear(uint32_t color) override;
  void BeginScene() override {}
  void EndScene() override {}
  TextureRef LoadTexture(const std::string& path, int w, int h, uint32_t color_key) override;
  void DrawQuad(const Vertex v[4], const Texture* tex) override;
  FontRef CreateFont(const std::string& family, int points, bool bold) override;
  void DrawText(const Font& font, const std::string& text, int left, int top, int right, int bottom,
                uint32_t color, bool center) override;

  size_t LoadedTextureCount() const { return textures_.Count(); }
  size_t RenderedTextCount() const { return text_.RenderedCount(); }
  const TextStats& TextStatistics() const { return text_.Stats(); }

 protected:
  SDL_Renderer* renderer() const { return renderer_.get(); }
  // Re-makes what the kind itself keeps on the renderer (a back-buffer texture) after the
  // renderer lost its textures.
  virtual bool RecreateOwnTextures() { return true; }
  // Writes `frame` (ARGB) as a PNG file.
  static bool SavePng(SDL_Surface* frame, const std::string& path);

 private:
  // A quad as two triangles, tinted by its vertex colours.
  void DrawTriangles(const Vertex v[4], SDL_Texture* texture);

  std::shared_ptr<void> backing_;  // declaration order is destruction order, reversed
  RendererPtr renderer_;
  std::shared_ptr<DeviceLoss> loss_;
  TextureStore textures_;
  TextRenderer text_;
};

}  // namespace platform
