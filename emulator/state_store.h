// Writes the drives' kept state back to the machine's state file: under an
// flock on "<file>.lock" it re-reads the file and replaces only the fields a
// command changed, so that another program's change (to another drive, or to
// another kind of state of the same drive) is kept; then a temporary file,
// fsync and rename.
#pragma once

#include <nlohmann/json.hpp>
#include <span>
#include <string>
#include <string_view>

namespace emu {

class StateStore {
 public:
  // The state file holds a top-level "driveStates" object; every other field of
  // the file (a whole machine description, when it is the machine file) is kept.
  explicit StateStore(std::string path) : path_(std::move(path)) {}

  const std::string& Path() const { return path_; }
  // In driveStates[key], replaces the fields named in `owned` with those that
  // `fields` holds (an owned field that `fields` lacks is removed). The entry's
  // other fields and every other entry stay as the file has them now. False
  // with *error naming the file and the reason; the file is then unchanged.
  bool Save(const std::string& key, std::span<const std::string_view> owned,
            const nlohmann::json& fields, std::string* error) const;

  // The "driveStates" of a state file; an empty object when the file does not exist.
  static bool LoadStates(const std::string& path, nlohmann::json* states, std::string* error);
  // The whole file as text, with a size limit; false when it cannot be read.
  static bool ReadWholeFile(const std::string& path, std::string* text, std::string* error);

 private:
  std::string path_;
};

}  // namespace emu
