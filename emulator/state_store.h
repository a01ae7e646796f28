// Writes the drives' kept state back to the machine's state file: under an
// flock on "<file>.lock", re-reading the file so that another program's change
// to another drive is kept, then a temporary file, fsync and rename.
#pragma once

#include <nlohmann/json.hpp>
#include <string>

namespace emu {

class StateStore {
 public:
  // The state file holds a top-level "driveStates" object; every other field of
  // the file (a whole machine description, when it is the machine file) is kept.
  explicit StateStore(std::string path) : path_(std::move(path)) {}

  const std::string& Path() const { return path_; }
  // Replaces driveStates[key] with state. False with *error naming the file.
  bool Save(const std::string& key, const nlohmann::json& state, std::string* error) const;

  // The "driveStates" of a state file; an empty object when the file does not exist.
  static bool LoadStates(const std::string& path, nlohmann::json* states, std::string* error);
  // The whole file as text, with a size limit; false when it cannot be read.
  static bool ReadWholeFile(const std::string& path, std::string* text, std::string* error);

 private:
  std::string path_;
};

}  // namespace emu
