// Whoever holds the GL context that textures and display lists live in: the viewport's
// widget in the window, an offscreen context in a headless render. Texture objects ask it
// to make the context current and are told when the context is gone.
#pragma once

#include <set>

namespace tamsel {

class GlTexture;

class GlContextHost {
 public:
  virtual ~GlContextHost();

  // Makes the context current; `release` is set when the caller must Leave afterwards.
  // False when there is no context (yet, or any more).
  virtual bool Enter(bool& release) = 0;
  virtual void Leave() = 0;
  virtual bool HasContext() const = 0;

  void Register(GlTexture* t) { textures_.insert(t); }
  void Unregister(GlTexture* t) { textures_.erase(t); }

 protected:
  // The context that held the textures' ids is gone.
  void ForgetTextures();

 private:
  std::set<GlTexture*> textures_;
};

// Makes the host's context current for the scope unless it already is (inside a paint it
// is, and must stay so). ok() is false when the host has no context.
class GlContextScope {
 public:
  explicit GlContextScope(GlContextHost& host) : host_(host) { ok_ = host_.Enter(release_); }
  ~GlContextScope() {
    if (release_) host_.Leave();
  }
  bool ok() const { return ok_; }
  GlContextScope(const GlContextScope&) = delete;
  GlContextScope& operator=(const GlContextScope&) = delete;

 private:
  GlContextHost& host_;
  bool ok_ = false, release_ = false;
};

}  // namespace tamsel
