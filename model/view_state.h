// View state shared by the tool bars, the panels and the viewport: what is shown and
// edited. The words of the tool bars and messages are made from it where they are needed.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace tamsel {

enum class Display { Wire, Texture };
enum class Geometry { Mesh, Face, Vertex };
enum class Detail { High, Low };
enum class Panel { Geometry, Texture, Hitzone, Rotation, Hardpoint, EngineGlow };
// The geometry frame's sub-frame; "face" until a geometry level is chosen.
enum class GeometrySub { Face, Geometry, Texture };
enum class TextureSub { Transparency, Illumination };

struct ViewState {
  Display DisplayMode = Display::Wire;
  Geometry GeometryLevel = Geometry::Mesh;
  Detail CurrentLOD = Detail::High;
  bool NormalsShown = true;
  Panel PropertyPanel = Panel::Geometry;
  GeometrySub GeometrySubPanel = GeometrySub::Face;
  TextureSub TextureSubPanel = TextureSub::Transparency;
  std::int16_t FlightGroupColor = 0;  // 0 red, 1 yellow, 2 blue, 3 green
  bool GridShown = false;             // the ground grid under the craft
  bool AxesShown = false;             // the axes gizmo in a corner
  bool GradientShown = false;         // a gradient behind the craft rather than black
  bool BackFacesShown = false;        // faces seen from behind drawn too, darker
  bool HiddenLines = false;           // a wireframe hides the edges behind its faces
  std::int16_t AxisAnimAngle = 0;     // 0..355
  std::int16_t AimAnimStep = 0;       // 0..20
  std::int16_t DegreeAnimStep = 0;    // 0..20

  // Level index of CurrentLOD: 0 for high, 1 for low.
  int LevelIndex() const { return CurrentLOD == Detail::Low ? 1 : 0; }
};

// The geometry levels as the display tool bar's keys name them: "mesh", "face", "vertex".
std::string_view GeometryKey(Geometry level);
std::optional<Geometry> GeometryNamed(std::string_view key);

}  // namespace tamsel
