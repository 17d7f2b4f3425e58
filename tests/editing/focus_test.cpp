#include "editing/focus.h"

#include <gtest/gtest.h>

#include "support/model_builders.h"

namespace tamsel {
namespace {

using namespace test;

Model TwoTextures() {
  Model m;
  FaceRec face = Triangle(Corner(0, 0, 0), Corner(1, 0, 0), Corner(0, 1, 0), "a.BMP");
  face.TextureNames[1] = "b.BMP";
  face.TextureNames[2] = kBlank;
  m.Meshes.push_back(MeshWith({face, Triangle(Corner(0, 0, 0), Corner(1, 0, 0), Corner(0, 1, 0))}));
  for (const char* name : {"b.BMP", "a.BMP"}) {
    TextureRec t;
    t.Name = name;
    m.Textures.push_back(t);
  }
  return m;
}

TEST(Focus, AFaceShowsTheTextureOfTheFlightGroupSlot) {
  const Model m = TwoTextures();
  const FaceRec& face = m.Meshes[0].LODs[0].Faces[0];
  EXPECT_EQ(FaceTextureIndex(m, face, 0), 1);
  EXPECT_EQ(FaceTextureIndex(m, face, 1), 0);
  // A blank slot shows slot 0's texture, as the viewport draws it.
  EXPECT_EQ(FaceTextureIndex(m, face, 2), 1);
  EXPECT_EQ(FaceTextureIndex(m, face, 7), 1) << "a slot beyond the four is slot 0";
  EXPECT_EQ(FaceTextureIndex(m, m.Meshes[0].LODs[0].Faces[1], 0), -1) << "no record has its name";
}

TEST(Focus, FocusingAFaceFocusesItsMeshAndTextureButNothingThatIsNotThere) {
  const Model m = TwoTextures();
  Focus f;
  f.texture = 0;
  FocusFace(f, m, 0, {0, 1}, 0);  // a face whose texture has no record
  EXPECT_EQ(f.mesh, 0);
  EXPECT_EQ(f.face, (FaceRef{0, 1}));
  EXPECT_EQ(f.texture, 0) << "the colour panels keep their texture";
  FocusFace(f, m, 0, {0, 0}, 1);
  EXPECT_EQ(f.texture, 0);
  FocusFace(f, m, 0, {0, 0}, 0);
  EXPECT_EQ(f.texture, 1);
  const Focus before = f;
  FocusFace(f, m, 1, {0, 0}, 0);  // the mesh has no low level
  FocusFace(f, m, 0, {0, 5}, 0);  // no such face
  FocusFace(f, m, 0, {4, 0}, 0);  // no such mesh
  EXPECT_EQ(f.face, before.face);
  EXPECT_EQ(f.mesh, before.mesh);
}

}  // namespace
}  // namespace tamsel
