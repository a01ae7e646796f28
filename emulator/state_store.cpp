// Locked, merging, atomic write-back of drive state.
#include "emulator/state_store.h"

#include "emulator/machine_file_parser.h"
#include "emulator/state_file_io.h"

namespace emu {

namespace {

bool Fail(std::string* error, std::string text) {
  if (error != nullptr) *error = std::move(text);
  return false;
}

}  // namespace

bool StateStore::ReadWholeFile(const std::string& path, std::string* text, std::string* error) {
  return ReadStateFile(path, text, error);
}

bool StateStore::LoadStates(const std::string& path, nlohmann::json* states, std::string* error) {
  *states = nlohmann::json::object();
  if (!StateFileExists(path)) return true;
  std::string text;
  nlohmann::json root;
  if (!ReadWholeFile(path, &text, error) || !ParseJsonText(text, path, &root, error)) return false;
  if (!root.is_object()) return Fail(error, path + ": expected a JSON object at the top");
  if (!root.contains("driveStates")) return true;
  if (!root.at("driveStates").is_object()) {
    return Fail(error, path + ": driveStates: expected an object");
  }
  *states = root.at("driveStates");
  return true;
}

bool StateStore::Save(const std::string& key, std::span<const std::string_view> owned,
                      const nlohmann::json& fields, std::string* error) const {
  StateFileLock lock;
  if (!lock.Acquire(path_ + ".lock", error)) return false;
  RemoveStaleTemporaries(path_);

  // Under the lock: what another program wrote since we loaded is in the file now.
  StateFileStatus status;
  if (!InspectStateFile(path_, &status, error)) return false;
  nlohmann::json root = nlohmann::json::object();
  if (status.exists) {
    std::string text;
    if (!ReadWholeFile(path_, &text, error) || !ParseJsonText(text, path_, &root, error)) {
      return false;  // never replace a file we cannot understand
    }
    if (!root.is_object()) return Fail(error, path_ + ": expected a JSON object at the top");
  }
  auto& states = root["driveStates"];
  if (!states.is_object()) states = nlohmann::json::object();
  auto& entry = states[key];
  if (!entry.is_object()) entry = nlohmann::json::object();
  for (const std::string_view name : owned) entry.erase(std::string(name));
  for (const auto& [name, value] : fields.items()) entry[name] = value;

  std::string text;
  try {
    text = root.dump(2) + "\n";
  } catch (const nlohmann::json::exception& e) {
    return Fail(error, path_ + ": cannot write the state: " + e.what());
  }
  return ReplaceStateFile(path_, text, status.permissions, error);
}

}  // namespace emu
