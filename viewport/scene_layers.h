// The scene as the program draws it: compiled parts per mesh, kept across frames and
// rebuilt only when what they show changed. A mesh's body (its faces at one level, grouped
// by texture, one run of triangles or lines per texture) does not depend on the selection;
// its selection part (highlighted faces, points, vectors) does; its centre points and
// normals depend on neither. Parts are keyed by the mesh record they were built from: an
// edit gives a mesh a new record, and a new record whose drawing is the same as the old
// one's (a selection change) keeps the old parts. Parts of a view seen before (another
// level, mode or flight-group colour) stay, so switching back costs nothing.
//
// What the frame shows matches the reference scene (DrawScene) but for the order of faces
// at equal depth; it carries no pick names (picking is done on the CPU).
#pragma once

#include <functional>
#include <map>
#include <memory>
#include <vector>

#include "model/color_settings.h"
#include "model/model.h"
#include "model/view_state.h"
#include "viewport/draw_sink.h"
#include "viewport/scene.h"

namespace tamsel {

// Where compiled parts live: display lists in the program, recordings in tests.
class ListStore {
 public:
  virtual ~ListStore() = default;
  // Compiles what `draw` emits into a new part; returns its id (never 0).
  virtual unsigned Compile(const std::function<void(DrawSink&)>& draw) = 0;
  virtual void Delete(unsigned id) = 0;
  // Emits a call of the part into the sink being drawn or compiled.
  virtual void Call(unsigned id, DrawSink& into) = 0;
};

// Whether two records of a mesh draw alike: the same levels, faces, corners, normals,
// vectors and texture names; selection flags and ids aside.
bool SameDrawing(const MeshRec& a, const MeshRec& b);
// Whether two records of a mesh have the same selection flags at every level.
bool SameSelection(const MeshRec& a, const MeshRec& b);

class LayeredScene {
 public:
  explicit LayeredScene(ListStore& store) : store_(store) {}
  ~LayeredScene() { Clear(); }
  LayeredScene(const LayeredScene&) = delete;
  LayeredScene& operator=(const LayeredScene&) = delete;

  // Brings the parts up to date. textureGeneration changes whenever the texture records
  // or their GL objects do. `flagsOnly`: the caller knows that no record changed but for
  // its selection flags (the document said so), so a new record draws as the old one did
  // without comparing their faces.
  void Update(const Model& model, const ViewState& view, const ColorSettings& colors,
              const SceneInputs& inputs, int textureGeneration, bool flagsOnly = false);
  // The frame: state and calls of the parts, into `frame` (immediate, or the top list).
  void Draw(DrawSink& frame) const;
  // Deletes every part (the store's ids stay valid).
  void Clear();
  // Forgets every part without deleting it: its context is gone.
  void Forget();

  // Parts compiled since the start, for tests and benchmarks.
  long Compiles() const { return compiles_; }

 private:
  struct MeshParts {
    std::shared_ptr<const MeshRec> mesh;
    std::map<std::string, unsigned> lists;  // by part name and view
    // The texture runs of a textured view: each texture with the part of its triangles
    // (those parts are in lists too).
    std::map<std::string, std::vector<std::pair<int, unsigned>>> runs;
    bool used = false;
  };
  unsigned PartFor(MeshParts& parts, const std::string& name,
                   const std::function<void(DrawSink&)>& draw);
  void DropUnused();
  const std::vector<std::pair<int, unsigned>>& RunsFor(MeshParts& parts, const std::string& name,
                                                       const LODRec& lod,
                                                       const TextureLookup& textures,
                                                       int flightGroupColor);

  ListStore& store_;
  long compiles_ = 0;
  std::map<const void*, MeshParts> meshes_;  // by the identity of the record held
  std::vector<const void*> order_;           // the model's meshes this frame, in order
  unsigned panel_ = 0;
  int textureGeneration_ = 0;
  // Inputs of the last Update that the frame needs.
  const Model* model_ = nullptr;
  ViewState view_;
  ColorSettings colors_;
  SceneInputs inputs_;
  SceneView sceneView_;
  struct MeshFrame {
    unsigned body = 0, blend = 0, highlight = 0, marks = 0, vectors = 0, points = 0, normals = 0;
    unsigned surface = 0;  // a wireframe's faces, drawn into depth alone to hide its far edges
    bool selected = false, focused = false, animated = false;
    const MeshRec* mesh = nullptr;
  };
  std::vector<MeshFrame> frame_;
};

}  // namespace tamsel
