// One path for every import (OPT, project, DXF, other formats): what a reader built aside
// joins the model together with its files, which never cost the user a file of theirs.
#pragma once

#include <string>
#include <vector>

#include "model/file_io.h"
#include "model/file_transaction.h"
#include "model/model.h"

namespace tamsel {

struct IncomingFile {
  std::string name;  // the file name the reader gave it (texture records name it so)
  Bytes bytes;
  bool optional = false;  // no record names it: skipped, not renamed, when its name is taken
};

// Brings the files into the transaction's folder (see FileTransaction::Bring); a file that
// had to take another name is renamed in the texture records and in the faces' texture
// slots that named it. Then appends the meshes and textures, takes over the counters the
// read advanced and computes the new meshes' bounds. Nothing is written before `files`
// commits. Returns the index of the first new texture record.
std::size_t CommitRead(Model& model, FileTransaction& files, std::vector<IncomingFile> incoming,
                       std::vector<MeshRec> meshes, std::vector<TextureRec> textures,
                       const IdCounters& ids);

// Commits a transaction of its own for callers that need no undo of the files.
template <typename Import>
auto WithFiles(const std::string& folder, FileTransaction* given, Import import) {
  if (given) return import(*given);
  FileTransaction own(folder);
  auto result = import(own);
  own.Commit(false);
  return result;
}

}  // namespace tamsel
