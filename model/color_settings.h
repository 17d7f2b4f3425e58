// The twelve viewport colours of the Options menu; they start from these values every run.
#pragma once

#include <array>

namespace tamsel {

struct ColorTriple {
  int R = 0, G = 0, B = 0;
  friend bool operator==(const ColorTriple&, const ColorTriple&) = default;
};

struct ColorSettings {
  ColorTriple PrimarySelectWireColor{0, 255, 0};
  ColorTriple PrimarySelectTexColor{0, 0, 255};
  ColorTriple SecondarySelectWireColor{255, 0, 0};
  ColorTriple SecondarySelectTexColor{127, 127, 229};
  ColorTriple HitzoneMeshColor{128, 128, 255};
  ColorTriple HitzoneTargetColor{255, 128, 255};
  ColorTriple RotationAxisColor{255, 0, 0};
  ColorTriple RotationAimColor{0, 255, 0};
  ColorTriple RotationDegreeColor{0, 0, 255};
  ColorTriple NormalColor{255, 0, 255};
  ColorTriple SoftVector1Color{255, 255, 0};
  ColorTriple SoftVector2Color{255, 128, 64};
};

}  // namespace tamsel
