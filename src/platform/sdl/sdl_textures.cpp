// Texture loading: picture file -> colour key -> linear scale -> SDL texture, shared per
// file and size, and re-made from the files when the renderer has lost them.
#include "platform/sdl/sdl_textures.h"

#include <SDL_image.h>

#include <algorithm>
#include <cstring>

#include "platform/files.h"

namespace platform {

std::string ResolveAssetPath(const std::string& path) {
  if (path.empty()) return path;
  bool absolute = path[0] == '/' || path[0] == '\\';
  return ResolvePath(absolute ? "/" : ".", path);
}

ArgbImage ReadPicture(const std::string& path) {
  SurfacePtr loaded(IMG_Load(path.c_str()));
  if (!loaded) throw DisplayError("Cannot load texture " + path + ": " + IMG_GetError());
  SurfacePtr argb(SDL_ConvertSurfaceFormat(loaded.get(), SDL_PIXELFORMAT_ARGB8888, 0));
  if (!argb) throw DisplayError("Cannot convert texture " + path + ": " + SDL_GetError());
  ArgbImage image;
  image.width = argb->w;
  image.height = argb->h;
  image.pixels.resize(static_cast<size_t>(argb->w) * argb->h);
  for (int y = 0; y < argb->h; ++y) {
    const auto* row =
        static_cast<const uint8_t*>(argb->pixels) + static_cast<size_t>(y) * argb->pitch;
    std::memcpy(&image.pixels[static_cast<size_t>(y) * argb->w], row, argb->w * sizeof(uint32_t));
  }
  return image;
}

std::shared_ptr<SdlTexture> TextureStore::Load(const std::string& path, int w, int h,
                                               uint32_t key) {
  if (w <= 0 || h <= 0) throw DisplayError("Bad texture size for " + path);
  std::string file = ResolveAssetPath(path);
  auto id = std::make_tuple(file, w, h, key);
  auto found = cache_.find(id);
  if (found != cache_.end()) return found->second;
  auto texture = std::make_shared<SdlTexture>(file, w, h, key);
  Fill(*texture);  // throws before anything is cached
  cache_.emplace(id, texture);
  return texture;
}

void TextureStore::Fill(SdlTexture& t) {
  ArgbImage image = ReadPicture(t.path_);
  // The key goes first, on the file's own texels: after scaling no texel is exactly the key.
  ApplyColourKey(image, t.key_);
  ArgbImage scaled = ScaleLinear(image, t.w_, t.h_);
  TexturePtr texture(
      SDL_CreateTexture(renderer_, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_STATIC, t.w_, t.h_));
  if (!texture || SDL_UpdateTexture(texture.get(), nullptr, scaled.pixels.data(), t.w_ * 4) != 0) {
    throw DisplayError("Cannot create texture for " + t.path_ + ": " + SDL_GetError());
  }
  t.opaque_ = std::all_of(scaled.pixels.begin(), scaled.pixels.end(),
                          [](uint32_t argb) { return (argb >> 24) == 0xFF; });
  SDL_SetTextureBlendMode(texture.get(), SDL_BLENDMODE_BLEND);
  SDL_SetTextureScaleMode(texture.get(), SDL_ScaleModeNearest);
  t.texture_ = std::move(texture);
}

bool TextureStore::ReloadAll() {
  bool all = true;
  for (auto& entry : cache_) {
    SdlTexture& t = *entry.second;
    t.texture_.reset();
    try {
      Fill(t);
    } catch (const DisplayError&) {
      all = false;  // it stays empty and draws nothing
    }
  }
  return all;
}

void TextureStore::DropAll() {
  for (auto& entry : cache_) entry.second->texture_.reset();
}

}  // namespace platform
