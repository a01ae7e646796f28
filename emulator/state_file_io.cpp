// The state file calls that are the same on every system: reading the file
// whole, telling whether it exists, and removing stale temporaries.
#include "emulator/state_file_io.h"

#include <cctype>
#include <filesystem>
#include <fstream>
#include <system_error>

namespace emu {

namespace {

bool Fail(std::string* error, std::string text) {
  if (error != nullptr) *error = std::move(text);
  return false;
}

}  // namespace

bool IsTemporaryRandomPart(std::string_view text) {
  if (text.size() != kTemporaryRandomLength) return false;
  for (char c : text) {
    if (std::isalnum(static_cast<unsigned char>(c)) == 0) return false;
  }
  return true;
}

bool StateFileExists(const std::string& path) {
  std::error_code code;
  return std::filesystem::exists(path, code) && !code;
}

bool ReadStateFile(const std::string& path, std::string* text, std::string* error) {
  std::error_code code;
  const auto status = std::filesystem::status(path, code);
  if (code) return Fail(error, path + ": cannot be read: " + code.message());
  if (!std::filesystem::is_regular_file(status)) {
    return Fail(error, path + ": cannot be read: not a regular file");
  }
  std::ifstream in(path, std::ios::binary);
  if (!in) return Fail(error, path + ": cannot be read");
  in.seekg(0, std::ios::end);
  const auto size = in.tellg();
  if (size < 0) return Fail(error, path + ": cannot be read");
  if (static_cast<std::uintmax_t>(size) > kMaxStateFileSize) {
    return Fail(error, path + ": cannot be read: larger than 16 MiB");
  }
  in.seekg(0, std::ios::beg);
  text->assign(static_cast<std::size_t>(size), '\0');
  if (!in.read(text->data(), size)) return Fail(error, path + ": cannot be read");
  return true;
}

void RemoveStaleTemporaries(const std::string& path) {
  const std::filesystem::path file(path);
  const std::string base = file.filename().string();
  const std::string ours = base + kTemporaryInfix;
  std::error_code code;
  std::filesystem::directory_iterator entries(
      file.has_parent_path() ? file.parent_path() : std::filesystem::path("."), code);
  if (code) return;
  for (const auto& entry : entries) {
    const std::string name = entry.path().filename().string();
    if (!entry.is_regular_file(code)) continue;
    bool stale = name.size() == ours.size() + kTemporaryRandomLength &&
                 name.compare(0, ours.size(), ours) == 0 &&
                 IsTemporaryRandomPart(std::string_view(name).substr(ours.size()));
    // Earlier versions named their temporaries "<file>.XXXXXX"; such a name may
    // also be a user's own copy, so only an empty one is taken for ours.
    if (!stale && name.size() == base.size() + 1 + kTemporaryRandomLength &&
        name.compare(0, base.size() + 1, base + ".") == 0 &&
        IsTemporaryRandomPart(std::string_view(name).substr(base.size() + 1))) {
      stale = entry.file_size(code) == 0 && !code;
    }
    if (stale) std::filesystem::remove(entry.path(), code);
  }
}

}  // namespace emu
