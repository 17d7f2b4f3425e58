#include "viewport/craft_render.h"

#include <GL/gl.h>

#include <algorithm>
#include <filesystem>

#include "viewport/bitmap_image.h"
#include "viewport/gl_decor.h"
#include "viewport/gl_frame.h"
#include "viewport/gl_sink.h"
#include "viewport/offscreen_gl.h"
#include "viewport/scene_layers.h"
#include "viewport/texture_objects.h"

namespace tamsel {

PictureSource ProjectPictures(const Model& model) {
  const std::filesystem::path folder = model.ProjectPath;
  return
      [&model, folder](std::size_t t) { return ReadBitmapImage(folder / model.Textures[t].Name); };
}

RenderResult RenderCraft(const Model& model, const RenderRequest& request,
                         const PictureSource& pictures) {
  RenderResult result;
  const auto gl = OffscreenGl::Open(request.width, request.height, result.error);
  if (!gl) return result;
  SetupSceneState();

  // Declared after the context, so the textures and lists go before it does.
  TextureObjects textures(*gl);
  textures.Resize(model.Textures.size());
  for (std::size_t t = 0; t < model.Textures.size(); ++t)
    if (!textures.Load(t, pictures(t), model.Textures[t].TransTolerance))
      result.missing.push_back(model.Textures[t].Name);

  Camera camera;
  ResetCamera(camera);
  OrientCamera(camera, request.angle);
  if (const auto framing = FrameView(camera, model, request.view, request.width, request.height,
                                     request.frameSelection)) {
    ApplyFraming(camera, *framing, true);
    const double e = std::max(framing->centredExtent, ZoomFloor(model) / 0.9);
    camera.SetOrtho(-e, e, -e, e);
  }

  const ShapeTool shapes;
  GlListStore store(textures, shapes);
  LayeredScene scene(store);
  scene.Update(model, request.view, request.colors, request.inputs, 1);
  LoadCameraMatrices(camera, request.width, request.height);
  SceneLight().Apply();
  ClearScreen();
  if (request.view.GradientShown) DrawBackgroundGradient();
  GlSink frame(textures, shapes);
  if (request.view.GridShown) DrawGrid(model, camera.Ortho()[1], frame);
  scene.Draw(frame);
  if (request.view.AxesShown) DrawAxesGizmo(camera.Orientation());
  glFinish();
  result.image = gl->Read();
  return result;
}

}  // namespace tamsel
