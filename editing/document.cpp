#include "editing/document.h"

#include <exception>
#include <unordered_set>

#include "model/bounds.h"
#include "model/finite_check.h"

namespace tamsel {
namespace {

template <typename T>
void Compare(const CowVector<T>& before, const CowVector<T>& after, bool& listChanged,
             std::vector<int>& changed) {
  listChanged = before.size() != after.size();
  if (!listChanged) {
    for (std::size_t i = 0; i < after.size(); ++i)
      if (!after.SharesWith(before, i)) changed.push_back(static_cast<int>(i));
    return;
  }
  std::unordered_set<const void*> old;
  for (std::size_t i = 0; i < before.size(); ++i) old.insert(before.Identity(i));
  for (std::size_t i = 0; i < after.size(); ++i)
    if (!old.count(after.Identity(i))) changed.push_back(static_cast<int>(i));
}

// The records of `before` that `after` no longer holds: what a step alone keeps alive. A
// mesh of its own may still share a level's faces with `after`: those cost the step nothing.
std::size_t BytesLeftBehind(const Craft& before, const Craft& after) {
  std::unordered_set<const void*> kept, keptFaces;
  for (std::size_t i = 0; i < after.Meshes.size(); ++i) {
    kept.insert(after.Meshes.Identity(i));
    for (const LODRec& lod : after.Meshes[i].LODs) keptFaces.insert(lod.Faces.data());
  }
  std::size_t bytes = 0;
  for (std::size_t i = 0; i < before.Meshes.size(); ++i) {
    if (kept.count(before.Meshes.Identity(i))) continue;
    const MeshRec& mesh = before.Meshes[i];
    bytes += RecordBytes(mesh);
    for (const LODRec& lod : mesh.LODs)
      if (!lod.Faces.empty() && keptFaces.count(lod.Faces.data()))
        bytes -= lod.Faces.size() * sizeof(FaceRec);
  }
  return bytes;
}

// Whether every level of `mesh` holds the very faces of the same level of `other`.
bool SharesAllFaces(const MeshRec& mesh, const MeshRec& other) {
  if (mesh.LODs.size() != other.LODs.size()) return false;
  for (std::size_t l = 0; l < mesh.LODs.size(); ++l)
    if (!mesh.LODs[l].Faces.SharesWith(other.LODs[l].Faces)) return false;
  return true;
}

bool Unchanged(const ModelChange& c) {
  return !c.meshList && c.meshes.empty() && !c.textureList && c.textures.empty();
}

// Records an edit rewrote with the values they had are no change: they go back to sharing
// the earlier objects, so that neither the history nor the listeners see them.
template <typename T>
void DropSameValues(const CowVector<T>& before, CowVector<T>& after, bool listChanged,
                    std::vector<int>& changed) {
  if (listChanged) return;
  std::vector<int> kept;
  for (int i : changed) {
    const auto at = static_cast<std::size_t>(i);
    if (after[at] == before[at])
      after.ShareFrom(before, at);
    else
      kept.push_back(i);
  }
  changed = std::move(kept);
}

}  // namespace

ModelChange Difference(const Craft& before, const Craft& after) {
  ModelChange change;
  Compare(before.Meshes, after.Meshes, change.meshList, change.meshes);
  Compare(before.Textures, after.Textures, change.textureList, change.textures);
  return change;
}

std::size_t RecordBytes(const MeshRec& mesh) {
  std::size_t bytes = sizeof(MeshRec) + mesh.Hardpoints.size() * sizeof(HardpointRec) +
                      mesh.EngineGlows.size() * sizeof(EngineGlowRec);
  for (const LODRec& lod : mesh.LODs) bytes += sizeof(LODRec) + lod.Faces.size() * sizeof(FaceRec);
  return bytes;
}

std::optional<std::string> Document::Apply(const std::string& label, const Edit& edit,
                                           FileTransaction* files) {
  Model before = model_;  // shares every record until the edit writes one
  const auto rollBack = [&] {
    if (files) files->Discard();
    const IdCounters ids = model_.Ids;
    model_ = std::move(before);
    model_.Ids = ids;
  };
  try {
    edit(model_);
  } catch (const std::exception& e) {
    rollBack();
    return std::string(e.what());
  }
  ModelChange change = Difference(before, model_);
  DropSameValues(before.Meshes, model_.Meshes, change.meshList, change.meshes);
  DropSameValues(before.Textures, model_.Textures, change.textureList, change.textures);
  if (Unchanged(change)) {
    rollBack();  // the boxes and view values as they were, too
    return std::nullopt;
  }
  // Fresh boxes for the faces the edit touched, so that no panel or command reads a box that
  // lags behind its corners. Levels whose faces the edit left alone still share them with
  // the state before: their boxes stand, and an edit of a mesh's own values (its name, its
  // hitzone) costs nothing in its faces.
  bool cornersMoved = change.meshList;
  for (int m : change.meshes) {
    const auto at = static_cast<std::size_t>(m);
    const MeshRec* old = change.meshList ? nullptr : &before.Meshes[at];
    const MeshRec& mesh = model_.Meshes[at];
    for (std::size_t l = 0; l < mesh.LODs.size(); ++l) {
      if (old && l < old->LODs.size() && mesh.LODs[l].Faces.SharesWith(old->LODs[l].Faces))
        continue;
      CalculateLevelBounds(model_.Meshes.Edit(at).LODs[l]);  // the model's own already
      cornersMoved = true;
    }
    if (old && old->LODs.size() != mesh.LODs.size()) cornersMoved = true;
  }
  if (cornersMoved) CalculateModelBox(model_);
  for (int m : change.meshes) {
    const auto at = static_cast<std::size_t>(m);
    const MeshRec* old = change.meshList ? nullptr : &before.Meshes[at];
    if (auto where = FindNonFinite(model_.Meshes[at], m, old)) {
      rollBack();
      return "The result does not fit a Single (" + *where + "); nothing was changed.";
    }
  }
  std::shared_ptr<FileEffects> effects;
  if (files) {
    try {
      effects = std::make_shared<FileEffects>(files->Commit());
    } catch (const std::exception& e) {
      rollBack();
      return std::string(e.what());
    }
  }
  Step step{label, std::move(static_cast<Craft&>(before)), revision_, 0, std::move(effects), {}};
  Pack(step, model_);
  undo_.push_back(std::move(step));
  redo_.clear();
  revision_ = nextRevision_++;
  Trim();
  Notify(change);
  return std::nullopt;
}

const std::string& Document::UndoLabel() const {
  static const std::string none;
  return undo_.empty() ? none : undo_.back().label;
}

const std::string& Document::RedoLabel() const {
  static const std::string none;
  return redo_.empty() ? none : redo_.back().label;
}

ModelChange Document::SwapIn(Step& step) {
  // Only the craft's content changes places: ids never go back, the zoom is the view's.
  std::swap(static_cast<Craft&>(model_), step.state);
  std::swap(step.revision, revision_);
  return Difference(step.state, model_);
}

bool Document::Move(std::deque<Step>& from, std::deque<Step>& to, bool undo) {
  if (from.empty()) return false;
  fileError_.clear();
  // The files first: when they cannot be taken back the model stays as it is with them.
  if (from.back().files) try {
      undo ? from.back().files->Undo([this] {
        std::vector<std::filesystem::path> kept;
        for (const std::string& name : savedBitmaps_)
          kept.push_back(std::filesystem::path(model_.ProjectPath) / name);
        return kept;
      })
           : from.back().files->Redo();
    } catch (const std::exception& e) {
      fileError_ = e.what();
      return false;
    }
  Step step = std::move(from.back());
  from.pop_back();
  Unpack(step, model_);
  const ModelChange change = SwapIn(step);
  Pack(step, model_);
  to.push_back(std::move(step));
  Notify(change);
  return true;
}

bool Document::Undo() {
  return Move(undo_, redo_, true);
}

bool Document::Redo() {
  return Move(redo_, undo_, false);
}

void Document::Reset() {
  focus_ = {};
  undo_.clear();
  redo_.clear();
  revision_ = savedRevision_ = nextRevision_++;
  savedBitmaps_ = NamedBitmaps(model_.Meshes, model_.Textures);
  ModelChange change;
  change.everything = true;
  Notify(change);
}

void Document::MarkSaved() {
  savedRevision_ = revision_;
  savedBitmaps_ = NamedBitmaps(model_.Meshes, model_.Textures);
}

void Document::MovedFolder() {
  for (Step& s : undo_) s.files.reset();
  for (Step& s : redo_) s.files.reset();
  MarkSaved();
}

void Document::Changed(const ModelChange& change) {
  if (change.Any()) Notify(change);
}

void Document::Pack(Step& step, const Craft& next) {
  CowVector<MeshRec>& meshes = step.state.Meshes;
  for (std::size_t i = 0; i < meshes.size() && i < next.Meshes.size(); ++i) {
    if (meshes.SharesWith(next.Meshes, i) || !meshes.IsOwn(i)) continue;
    // Only its own values differ: the step keeps them and shares the faces.
    if (SharesAllFaces(meshes[i], next.Meshes[i])) continue;
    if (auto patch = MakeMeshPatch(meshes[i], next.Meshes[i])) {
      step.packed.emplace_back(i, std::move(*patch));
      meshes.Edit(i) = MeshRec{};  // its own: nothing is copied, the faces go
    }
  }
  step.bytes = BytesLeftBehind(step.state, next) + (step.files ? step.files->HeldBytes() : 0);
  for (const auto& [i, patch] : step.packed) step.bytes += patch.Bytes();
}

void Document::Unpack(Step& step, const Craft& next) {
  for (const auto& [i, patch] : step.packed)
    step.state.Meshes.Edit(i) = ApplyMeshPatch(patch, next.Meshes[i]);
  step.packed.clear();
}

std::size_t Document::HistoryBytes() const {
  std::size_t bytes = 0;
  for (const Step& s : undo_) bytes += s.bytes;
  for (const Step& s : redo_) bytes += s.bytes;
  return bytes;
}

void Document::Trim() {
  std::size_t bytes = HistoryBytes();
  while (undo_.size() > 1 && (undo_.size() > kMaxSteps || bytes > kMaxBytes)) {
    bytes -= undo_.front().bytes;
    undo_.pop_front();
  }
}

void Document::Notify(const ModelChange& change) {
  for (const Listener& listener : listeners_) listener(change);
}

}  // namespace tamsel
