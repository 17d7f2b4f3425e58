#include "viewport/offscreen_gl.h"

#include <EGL/egl.h>
#include <EGL/eglext.h>
#include <GL/gl.h>
#include <GL/glext.h>

namespace tamsel {

namespace {

// Framebuffer objects are not in GL 1.x's exports; their entry points come from EGL.
struct FramebufferCalls {
  PFNGLGENFRAMEBUFFERSPROC genFramebuffers = nullptr;
  PFNGLBINDFRAMEBUFFERPROC bindFramebuffer = nullptr;
  PFNGLDELETEFRAMEBUFFERSPROC deleteFramebuffers = nullptr;
  PFNGLGENRENDERBUFFERSPROC genRenderbuffers = nullptr;
  PFNGLBINDRENDERBUFFERPROC bindRenderbuffer = nullptr;
  PFNGLDELETERENDERBUFFERSPROC deleteRenderbuffers = nullptr;
  PFNGLRENDERBUFFERSTORAGEPROC renderbufferStorage = nullptr;
  PFNGLFRAMEBUFFERRENDERBUFFERPROC framebufferRenderbuffer = nullptr;
  PFNGLCHECKFRAMEBUFFERSTATUSPROC checkFramebufferStatus = nullptr;

  bool Load() {
    const auto get = [](auto& f, const char* name) {
      f = reinterpret_cast<std::remove_reference_t<decltype(f)>>(eglGetProcAddress(name));
      return f != nullptr;
    };
    return get(genFramebuffers, "glGenFramebuffers") && get(bindFramebuffer, "glBindFramebuffer") &&
           get(deleteFramebuffers, "glDeleteFramebuffers") &&
           get(genRenderbuffers, "glGenRenderbuffers") &&
           get(bindRenderbuffer, "glBindRenderbuffer") &&
           get(deleteRenderbuffers, "glDeleteRenderbuffers") &&
           get(renderbufferStorage, "glRenderbufferStorage") &&
           get(framebufferRenderbuffer, "glFramebufferRenderbuffer") &&
           get(checkFramebufferStatus, "glCheckFramebufferStatus");
  }
};

FramebufferCalls& Calls() {
  static FramebufferCalls calls;
  return calls;
}

EGLDisplay SurfacelessDisplay() {
  const auto platformDisplay = reinterpret_cast<PFNEGLGETPLATFORMDISPLAYEXTPROC>(
      eglGetProcAddress("eglGetPlatformDisplayEXT"));
  if (!platformDisplay) return EGL_NO_DISPLAY;
  return platformDisplay(EGL_PLATFORM_SURFACELESS_MESA, EGL_DEFAULT_DISPLAY, nullptr);
}

}  // namespace

std::unique_ptr<OffscreenGl> OffscreenGl::Open(int width, int height, std::string& error) {
  if (width < 1 || height < 1 || width > 8192 || height > 8192) {
    error = "the picture size must be from 1 x 1 to 8192 x 8192 pixels";
    return nullptr;
  }
  std::unique_ptr<OffscreenGl> gl(new OffscreenGl);
  gl->width_ = width;
  gl->height_ = height;
  EGLDisplay display = SurfacelessDisplay();
  EGLint major = 0, minor = 0;
  if (display == EGL_NO_DISPLAY || !eglInitialize(display, &major, &minor)) {
    error =
        "no OpenGL without a display here: drawing needs Mesa's EGL (libegl-mesa0) "
        "with its surfaceless platform";
    return nullptr;
  }
  gl->display_ = display;
  const EGLint attributes[] = {EGL_CONTEXT_MAJOR_VERSION, 2, EGL_CONTEXT_MINOR_VERSION, 1,
                               EGL_NONE};
  EGLContext context = EGL_NO_CONTEXT;
  if (eglBindAPI(EGL_OPENGL_API))
    context = eglCreateContext(display, EGL_NO_CONFIG_KHR, EGL_NO_CONTEXT, attributes);
  if (context == EGL_NO_CONTEXT ||
      !eglMakeCurrent(display, EGL_NO_SURFACE, EGL_NO_SURFACE, context)) {
    if (context != EGL_NO_CONTEXT) eglDestroyContext(display, context);
    error = "the EGL display offers no OpenGL 2.1 context without a surface";
    return nullptr;
  }
  gl->context_ = context;
  FramebufferCalls& f = Calls();
  if (!f.Load()) {
    error = "the OpenGL driver has no framebuffer objects";
    return nullptr;
  }
  f.genFramebuffers(1, &gl->framebuffer_);
  f.bindFramebuffer(GL_FRAMEBUFFER, gl->framebuffer_);
  f.genRenderbuffers(1, &gl->colour_);
  f.bindRenderbuffer(GL_RENDERBUFFER, gl->colour_);
  f.renderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, width, height);
  f.framebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, gl->colour_);
  f.genRenderbuffers(1, &gl->depth_);
  f.bindRenderbuffer(GL_RENDERBUFFER, gl->depth_);
  f.renderbufferStorage(GL_RENDERBUFFER, GL_DEPTH_COMPONENT24, width, height);
  f.framebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER, gl->depth_);
  if (f.checkFramebufferStatus(GL_FRAMEBUFFER) != GL_FRAMEBUFFER_COMPLETE) {
    error = "the OpenGL driver cannot draw into a " + std::to_string(width) + " x " +
            std::to_string(height) + " buffer";
    return nullptr;
  }
  glViewport(0, 0, width, height);
  return gl;
}

OffscreenGl::~OffscreenGl() {
  // Textures that outlive the context must not delete ids of a context that is gone.
  ForgetTextures();
  const auto display = static_cast<EGLDisplay>(display_);
  if (context_) {
    FramebufferCalls& f = Calls();
    if (f.deleteFramebuffers && framebuffer_) f.deleteFramebuffers(1, &framebuffer_);
    if (f.deleteRenderbuffers) {
      if (colour_) f.deleteRenderbuffers(1, &colour_);
      if (depth_) f.deleteRenderbuffers(1, &depth_);
    }
    eglMakeCurrent(display, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
    eglDestroyContext(display, static_cast<EGLContext>(context_));
  }
  // The display stays initialised: a later render reuses it, and terminating it unloads
  // the driver, whose allocations then show as leaks nobody can name.
}

bool OffscreenGl::Enter(bool& release) {
  release = false;
  return context_ != nullptr;
}

QImage OffscreenGl::Read() const {
  QImage image(width_, height_, QImage::Format_RGBA8888);
  glPixelStorei(GL_PACK_ALIGNMENT, 4);
  glReadPixels(0, 0, width_, height_, GL_RGBA, GL_UNSIGNED_BYTE, image.bits());
  // GL's rows go up from the bottom.
  return image.mirrored(false, true).convertToFormat(QImage::Format_RGB32);
}

}  // namespace tamsel
