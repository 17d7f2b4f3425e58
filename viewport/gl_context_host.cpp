#include "viewport/gl_context_host.h"

#include "viewport/texture_object.h"

namespace tamsel {

GlContextHost::~GlContextHost() {
  ForgetTextures();
}

void GlContextHost::ForgetTextures() {
  for (GlTexture* t : textures_) t->Forget();
}

}  // namespace tamsel
