// Textures of a renderer: loaded from picture files, colour-keyed, scaled, and shared by
// file and size. Internal to platform/.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <tuple>

#include "platform/display.h"
#include "platform/sdl/sdl_handles.h"
#include "platform/texture_pixels.h"

namespace platform {

// A texture as the game holds it. The SDL texture inside can be re-made (after the
// renderer lost its textures) or dropped (when the renderer goes) without the game noticing.
class SdlTexture : public Texture {
 public:
  SdlTexture(std::string path, int w, int h, uint32_t key)
      : path_(std::move(path)), w_(w), h_(h), key_(key) {}
  int Width() const override { return w_; }
  int Height() const override { return h_; }
  SDL_Texture* get() const { return texture_.get(); }
  // No texel of the picture is transparent.
  bool opaque() const { return opaque_; }

 private:
  friend class TextureStore;
  std::string path_;
  int w_, h_;
  uint32_t key_;
  bool opaque_ = false;
  TexturePtr texture_;
};

// Reads a picture file into straight ARGB pixels; throws DisplayError.
ArgbImage ReadPicture(const std::string& path);

class TextureStore {
 public:
  explicit TextureStore(SDL_Renderer* renderer) : renderer_(renderer) {}
  ~TextureStore() { DropAll(); }
  TextureStore(const TextureStore&) = delete;
  TextureStore& operator=(const TextureStore&) = delete;

  // The texture of `path` at w x h with `key` transparent; loaded on first use only.
  std::shared_ptr<SdlTexture> Load(const std::string& path, int w, int h, uint32_t key);
  // Makes every texture again from its file; false if any could not be made.
  bool ReloadAll();
  // Lets go of every SDL texture (the renderer is going away); the game's handles stay.
  void DropAll();
  size_t Count() const { return cache_.size(); }

 private:
  void Fill(SdlTexture& t);
  SDL_Renderer* renderer_;
  std::map<std::tuple<std::string, int, int, uint32_t>, std::shared_ptr<SdlTexture>> cache_;
};

// The file a game path names: '\' as '/', names matched without regard to case.
std::string ResolveAssetPath(const std::string& path);

}  // namespace platform
