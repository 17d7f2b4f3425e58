// A craft drawn without a window: the viewport's own scene, state, light and framing, into
// an offscreen buffer. The CLI's render command, the rendered-image tests and thumbnails
// use it.
#pragma once

#include <QImage>
#include <functional>
#include <string>
#include <vector>

#include "model/color_settings.h"
#include "model/model.h"
#include "model/view_state.h"
#include "viewport/camera_frame.h"
#include "viewport/scene.h"

namespace tamsel {

struct RenderRequest {
  ViewAngle angle = ViewAngle::Perspective;
  int width = 800, height = 600;
  // Mode, level of detail, panel and flight-group colour, as the tool bars set them.
  ViewState view;
  SceneInputs inputs;
  ColorSettings colors;
  // Frame the selection, as Fit does, rather than the whole craft.
  bool frameSelection = false;
};

// The picture of texture record t, null when it has none (the faces draw untextured).
using PictureSource = std::function<QImage(std::size_t t)>;

// The bitmaps beside a project file, by the records' names.
PictureSource ProjectPictures(const Model& model);

struct RenderResult {
  QImage image;                      // null when nothing could be drawn
  std::string error;                 // why not
  std::vector<std::string> missing;  // textures drawn untextured
};

// Frames the craft in the request's view and draws it.
RenderResult RenderCraft(const Model& model, const RenderRequest& request,
                         const PictureSource& pictures);

}  // namespace tamsel
