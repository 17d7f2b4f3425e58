// The GL state, light and matrices every frame of the scene is drawn with, in the window's
// viewport and in a headless render alike. Each needs a current context.
#pragma once

#include "viewport/camera.h"
#include "viewport/gl_tools.h"

namespace tamsel {

// Depth, culling, the alpha test and blending as the scene's passes expect them.
void SetupSceneState();

// The one light of the scene.
Light SceneLight();

// Loads the camera's projection and model-view for a viewport of width by height device
// pixels. With a pick pixel (device pixels, origin top left) the projection is narrowed to
// a pick region of `pickSize` pixels around it.
struct PickRegion {
  double x = 0, y = 0, size = 0;
};
void LoadCameraMatrices(const Camera& camera, int width, int height,
                        const PickRegion* pick = nullptr);

}  // namespace tamsel
