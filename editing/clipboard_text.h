// Copy and paste of meshes, faces, hardpoints and engine glows as text, so that they travel
// through the system clipboard between windows and projects. The text:
//
//   Tamsel clipboard 1
//   kind: meshes | faces | hardpoints | engine glows
//   bitmap: NAME BYTES          (one per bitmap the copied faces name, then its bytes in
//   BASE64 LINES...              base64, 76 characters a line, ending with a blank line)
//   project:
//   ...a project file of the copied elements (faces: one mesh holding them; hardpoints and
//   engine glows: one mesh without faces holding them) and the textures they name...
//
// Lines end in CR LF. The MIME type is kClipboardMime; the same text goes as plain text.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "editing/edit_target.h"
#include "model/file_transaction.h"
#include "model/model.h"

namespace tamsel {

inline constexpr const char* kClipboardMime = "application/x-tamsel-craft-parts";

// The text of what the target holds, with the bitmaps read from the project folder (one
// that cannot be read travels without its bytes: the paste keeps the name). Empty when
// the target holds nothing (corners are not copied).
std::string CopyText(const Model& model, const EditTarget& target);

// Whether the text is one of ours (the first line).
bool IsClipboardText(std::string_view text);

struct PasteResult {
  TargetKind kind = TargetKind::Meshes;
  int count = 0;                   // elements pasted
  int mesh = -1;                   // the mesh the elements went into, or the first new mesh
  int firstItem = -1;              // a pasted hardpoint's or engine glow's index
  std::vector<std::string> notes;  // bitmaps that took another name
};

// Pastes the text: meshes appended at the end; faces into mesh `into` at `level`;
// hardpoints and engine glows into mesh `into`. The bitmaps come into the folder through
// `files` by the imports' rules (never over a different file of the same name; a free name
// then, and the faces follow it); a texture record whose name the model has already is not
// added twice. What was pasted becomes the selection. Throws FileError on text that is not
// ours or is damaged, and std::invalid_argument when there is no mesh to paste into.
PasteResult PasteText(Model& model, std::string_view text, int level, int into,
                      FileTransaction& files);

}  // namespace tamsel
