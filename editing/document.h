// The document: the model with its undo and redo history and its saved state. Every change
// to the model's records goes through Apply, which records what undo needs and tells the
// listeners what changed; selection changes are not steps and go through Changed.
//
// A step keeps a copy of the model in which unchanged meshes and textures are shared with
// the model itself (see CowVector), so a step costs the records it changed. The id counters,
// the project folder and the start folder are not part of a step: ids never go back.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "editing/focus.h"
#include "editing/mesh_patch.h"
#include "editing/model_change.h"
#include "model/file_transaction.h"
#include "model/model.h"

namespace tamsel {

class Document {
 public:
  using Edit = std::function<void(Model&)>;
  using Listener = std::function<void(const ModelChange&)>;

  // The history keeps at most this many steps, and drops its oldest steps while the records
  // they alone hold take more than this many bytes (the newest step always stays).
  static constexpr std::size_t kMaxSteps = 100;
  static constexpr std::size_t kMaxBytes = std::size_t{512} << 20;

  Model& model() { return model_; }
  const Model& model() const { return model_; }
  // What the panels show; Reset clears it. Checked against the model where it is read.
  tamsel::Focus& focus() { return focus_; }
  const tamsel::Focus& focus() const { return focus_; }

  // Runs `edit` as one undo step called `label`. The meshes it changed get fresh face and
  // level boxes, and the model box follows. An edit that throws, or that leaves a number in
  // its records that is not a finite Single, is undone at once: the model is as before
  // (but for the id counters) and the error is returned. An edit that changed nothing is no
  // step: it marks nothing modified. Returns nothing on success.
  //
  // A command that writes files stages them into `files` from within `edit`; they are
  // committed, all or none, once the model's change is sound, and a failed commit undoes
  // the model's change too. Undo and redo of the step take the files back and bring them
  // again, byte for byte.
  std::optional<std::string> Apply(const std::string& label, const Edit& edit,
                                   FileTransaction* files = nullptr);

  bool CanUndo() const { return !undo_.empty(); }
  bool CanRedo() const { return !redo_.empty(); }
  const std::string& UndoLabel() const;  // "" when there is nothing to undo
  const std::string& RedoLabel() const;
  // False when there was nothing to take back or bring again, or when the step's files
  // could not be: then the model is as it was and FileError() says why.
  bool Undo();
  bool Redo();
  const std::string& FileError() const { return fileError_; }

  // After a new or opened project: no history, nothing unsaved, everything shown anew.
  void Reset();
  // The model as it is now is what the project file holds.
  void MarkSaved();
  // The project was saved into another folder (Save As). The steps' effects on files were
  // made in the old folder, which keeps its files: undo and redo now change records only.
  void MovedFolder();
  bool IsModified() const { return revision_ != savedRevision_; }
  std::uint64_t Revision() const { return revision_; }

  // Tells the listeners of a change made outside Apply (selection flags, view state).
  void Changed(const ModelChange& change);
  void AddListener(Listener listener) { listeners_.push_back(std::move(listener)); }

  std::size_t HistorySteps() const { return undo_.size() + redo_.size(); }
  // The bytes of records that only the history holds (an estimate: fixed-size parts).
  std::size_t HistoryBytes() const;

 private:
  struct Step {
    std::string label;
    Craft state;  // the craft on the other side of the step
    std::uint64_t revision = 0;
    std::size_t bytes = 0;
    std::shared_ptr<FileEffects> files;  // what the step did to files; may be empty
    // Meshes of `state` kept as patches against the state one step nearer the model (see
    // MeshPatch); their slots in `state` hold empty meshes meanwhile.
    std::vector<std::pair<std::size_t, MeshPatch>> packed;
  };
  // Keeps what only the step holds as patches against `next`, and counts its bytes.
  static void Pack(Step& step, const Craft& next);
  // Makes the step's meshes whole again, against the same `next`.
  static void Unpack(Step& step, const Craft& next);
  bool Move(std::deque<Step>& from, std::deque<Step>& to, bool undo);
  // Swaps the model's records with a step's; returns what changed.
  ModelChange SwapIn(Step& step);
  void Trim();
  void Notify(const ModelChange& change);

  Model model_;
  tamsel::Focus focus_;
  std::deque<Step> undo_;
  std::deque<Step> redo_;
  std::uint64_t revision_ = 0, savedRevision_ = 0, nextRevision_ = 1;
  std::vector<Listener> listeners_;
  std::string fileError_;
  // The bitmaps the project file names as last saved or opened: an undo leaves them in
  // place although its step added them, so that a session discarded after it still opens.
  std::set<std::string> savedBitmaps_;
};

// What differs between two states of the model: meshes and textures whose records are not
// the same objects, and whether the lists grew, shrank or were reordered.
ModelChange Difference(const Craft& before, const Craft& after);

// The bytes of a mesh's fixed-size records (strings counted by their object, not their text).
std::size_t RecordBytes(const MeshRec& mesh);

}  // namespace tamsel
