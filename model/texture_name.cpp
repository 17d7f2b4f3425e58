#include "model/texture_name.h"

#include <mutex>
#include <shared_mutex>
#include <unordered_map>
#include <unordered_set>

namespace tamsel {

namespace {

struct Pool {
  std::shared_mutex mutex;
  std::unordered_set<std::string> names;  // nodes never move: the handles stay valid
};

Pool& ThePool() {
  static Pool* pool = new Pool;  // outlives every static that holds a handle
  return *pool;
}

}  // namespace

const std::string& TextureName::Empty() {
  static const std::string* empty = Intern("");
  return *empty;
}

const std::string* TextureName::Intern(std::string_view text) {
  // Readers of large files intern a name per slot on every core; the last names a thread
  // met answer most of them without touching the shared pool.
  thread_local std::unordered_map<std::string_view, const std::string*> seen;
  if (auto it = seen.find(text); it != seen.end()) return it->second;
  Pool& pool = ThePool();
  const std::string* held = nullptr;
  {
    std::shared_lock lock(pool.mutex);
    if (auto it = pool.names.find(std::string(text)); it != pool.names.end()) held = &*it;
  }
  if (!held) {
    std::unique_lock lock(pool.mutex);
    held = &*pool.names.emplace(text).first;
  }
  if (seen.size() > 4096) seen.clear();  // a bound for hostile files of many names
  seen.emplace(std::string_view(*held), held);
  return held;
}

}  // namespace tamsel
