// Drawing on an SDL renderer: clearing, textured and tinted quads with alpha blending,
// text, and getting the device back after it was lost.
#include "platform/sdl/sdl_device.h"

#include <SDL_image.h>

#include <algorithm>

#include "platform/quad_rect.h"

namespace platform {
namespace {

SDL_Color ToSdlColor(uint32_t argb) {
  return SDL_Color{static_cast<Uint8>(argb >> 16), static_cast<Uint8>(argb >> 8),
                   static_cast<Uint8>(argb), static_cast<Uint8>(argb >> 24)};
}

}  // namespace

SdlDevice::SdlDevice(std::shared_ptr<void> backing, RendererPtr renderer,
                     std::shared_ptr<DeviceLoss> loss)
    : backing_(std::move(backing)),
      renderer_(std::move(renderer)),
      loss_(std::move(loss)),
      textures_(renderer_.get()),
      text_(renderer_.get()) {
  SDL_SetRenderDrawBlendMode(renderer_.get(), SDL_BLENDMODE_BLEND);
}

SdlDevice::~SdlDevice() {
  // The renderer frees its textures with it; the game's handles must not free them again.
  textures_.DropAll();
  text_.DropRendered();
}

bool SdlDevice::Reset() {
  if (loss_->StillLost()) return false;  // the window is still minimised
  bool ok = true;
  if (loss_->TexturesGone()) {
    text_.DropRendered();
    ok = RecreateOwnTextures();
    ok = textures_.ReloadAll() && ok;
  }
  loss_->ResetDone();
  return ok;
}

void SdlDevice::Clear(uint32_t color) {
  // The back buffer has no alpha of its own: it is always opaque.
  SDL_Color c = ToSdlColor(color);
  SDL_SetRenderDrawColor(renderer_.get(), c.r, c.g, c.b, 255);
  SDL_RenderClear(renderer_.get());
}

TextureRef SdlDevice::LoadTexture(const std::string& path, int w, int h, uint32_t color_key) {
  return textures_.Load(path, w, h, color_key);
}

void SdlDevice::DrawQuad(const Vertex v[4], const Texture* tex) {
  SDL_Texture* texture = nullptr;
  if (tex) {
    const auto* sdl = dynamic_cast<const SdlTexture*>(tex);
    if (!sdl || !sdl->get()) return;  // a texture lost and not re-made draws nothing
    texture = sdl->get();
    // An opaque picture under opaque colours blends to what a copy gives, at a fraction
    // of the cost.
    const bool opaque = sdl->opaque() && std::all_of(v, v + 4, [](const Vertex& corner) {
                          return (corner.color >> 24) == 0xFF;
                        });
    SDL_SetTextureBlendMode(texture, opaque ? SDL_BLENDMODE_NONE : SDL_BLENDMODE_BLEND);
  }
  SDL_SetRenderDrawBlendMode(renderer_.get(), SDL_BLENDMODE_BLEND);
  // Nearly everything the game draws is an upright picture: a rectangle copy gives the
  // same pixels and spares the software renderer filling two triangles texel by texel.
  UprightRect rect;
  if (AsUprightRect(v, tex ? tex->Width() : 1, tex ? tex->Height() : 1, rect)) {
    SDL_FRect dst{rect.x, rect.y, rect.w, rect.h};
    SDL_Rect src{rect.src_x, rect.src_y, rect.src_w, rect.src_h};
    SDL_Color c = ToSdlColor(v[0].color);
    if (texture) {
      SDL_SetTextureColorMod(texture, c.r, c.g, c.b);
      SDL_SetTextureAlphaMod(texture, c.a);
      SDL_RenderCopyF(renderer_.get(), texture, &src, &dst);
    } else {
      SDL_SetRenderDrawColor(renderer_.get(), c.r, c.g, c.b, c.a);
      SDL_RenderFillRectF(renderer_.get(), &dst);
    }
    return;
  }
  DrawTriangles(v, texture);
}

void SdlDevice::DrawTriangles(const Vertex v[4], SDL_Texture* texture) {
  if (texture) {
    SDL_SetTextureColorMod(texture, 255, 255, 255);  // the vertex colours do the tinting
    SDL_SetTextureAlphaMod(texture, 255);
  }
  SDL_Vertex verts[4];
  for (int i = 0; i < 4; ++i) {
    verts[i].position = SDL_FPoint{v[i].x, v[i].y};
    verts[i].color = ToSdlColor(v[i].color);
    verts[i].tex_coord = SDL_FPoint{v[i].u, v[i].v};
  }
  // The corners come in strip order (top-left, top-right, bottom-left, bottom-right).
  static constexpr int kIndices[6] = {0, 1, 2, 1, 3, 2};
  SDL_RenderGeometry(renderer_.get(), texture, verts, 4, kIndices, 6);
}

FontRef SdlDevice::CreateFont(const std::string& family, int points, bool bold) {
  return text_.CreateFont(family, points, bold);
}

void SdlDevice::DrawText(const Font& font, const std::string& text, int left, int top, int right,
                         int bottom, uint32_t color, bool center) {
  text_.Draw(font, text, left, top, right, bottom, color, center);
}

bool SdlDevice::SavePng(SDL_Surface* frame, const std::string& path) {
  return frame && IMG_SavePNG(frame, path.c_str()) == 0;
}

}  // namespace platform
