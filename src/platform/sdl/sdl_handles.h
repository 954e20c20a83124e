// Owning handles for the SDL objects the platform layer creates, and reference-counted
// guards for the SDL subsystems and libraries it starts. Internal to platform/.
#pragma once

#include <SDL.h>
#include <SDL_mixer.h>
#include <SDL_ttf.h>

#include <atomic>
#include <memory>
#include <string>
#include <utility>

namespace platform {

struct SdlDeleter {
  void operator()(SDL_Surface* s) const { SDL_FreeSurface(s); }
  void operator()(SDL_Texture* t) const { SDL_DestroyTexture(t); }
  void operator()(SDL_Renderer* r) const { SDL_DestroyRenderer(r); }
  void operator()(SDL_Window* w) const { SDL_DestroyWindow(w); }
  void operator()(TTF_Font* f) const { TTF_CloseFont(f); }
  void operator()(Mix_Chunk* c) const { Mix_FreeChunk(c); }
  void operator()(Mix_Music* m) const { Mix_FreeMusic(m); }
};

// An owning handle like unique_ptr that also counts how many of its kind are alive in the
// process, so that a long run can show it ends holding what it held once it settled.
template <class T>
class CountedPtr {
 public:
  CountedPtr() = default;
  explicit CountedPtr(T* p) { reset(p); }
  CountedPtr(CountedPtr&& o) noexcept : p_(std::exchange(o.p_, nullptr)) {}
  CountedPtr& operator=(CountedPtr&& o) noexcept {
    if (this != &o) {
      reset();
      p_ = std::exchange(o.p_, nullptr);
    }
    return *this;
  }
  ~CountedPtr() { reset(); }
  void reset(T* p = nullptr) {
    if (p_) {
      SdlDeleter()(p_);
      --live_;
    }
    p_ = p;
    if (p_) ++live_;
  }
  T* get() const { return p_; }
  explicit operator bool() const { return p_ != nullptr; }
  static long Live() { return live_; }

 private:
  T* p_ = nullptr;
  static inline std::atomic<long> live_{0};
};

using SurfacePtr = std::unique_ptr<SDL_Surface, SdlDeleter>;
using TexturePtr = CountedPtr<SDL_Texture>;
using RendererPtr = std::unique_ptr<SDL_Renderer, SdlDeleter>;
using WindowPtr = std::unique_ptr<SDL_Window, SdlDeleter>;
using TtfFontPtr = CountedPtr<TTF_Font>;
using ChunkPtr = std::unique_ptr<Mix_Chunk, SdlDeleter>;
using MusicPtr = std::unique_ptr<Mix_Music, SdlDeleter>;

// One started SDL subsystem; SDL counts starts and stops, so guards may overlap freely.
class SdlSubsystem {
 public:
  SdlSubsystem(const SdlSubsystem&) = delete;
  SdlSubsystem& operator=(const SdlSubsystem&) = delete;
  ~SdlSubsystem() { SDL_QuitSubSystem(flags_); }
  // Null with the reason in `error` when the subsystem cannot start.
  static std::unique_ptr<SdlSubsystem> Start(Uint32 flags, std::string& error) {
    if (SDL_InitSubSystem(flags) != 0) {
      error = SDL_GetError();
      return nullptr;
    }
    return std::unique_ptr<SdlSubsystem>(new SdlSubsystem(flags));
  }

 private:
  explicit SdlSubsystem(Uint32 flags) : flags_(flags) {}
  Uint32 flags_;
};

// The font library, started for as long as a holder lives (SDL_ttf counts these too).
class TtfLibrary {
 public:
  TtfLibrary(const TtfLibrary&) = delete;
  TtfLibrary& operator=(const TtfLibrary&) = delete;
  ~TtfLibrary() { TTF_Quit(); }
  // Null with the reason in `error` when the library cannot start.
  static std::shared_ptr<TtfLibrary> Start(std::string& error) {
    if (TTF_Init() != 0) {
      error = TTF_GetError();
      return nullptr;
    }
    return std::shared_ptr<TtfLibrary>(new TtfLibrary());
  }

 private:
  TtfLibrary() = default;
};

// A 32-bit ARGB surface (0xAARRGGBB in native order), or null when SDL cannot make one.
inline SurfacePtr MakeArgbSurface(int w, int h) {
  return SurfacePtr(SDL_CreateRGBSurfaceWithFormat(0, w, h, 32, SDL_PIXELFORMAT_ARGB8888));
}

}  // namespace platform
