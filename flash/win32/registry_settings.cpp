// RegistrySettings: RegCreateKeyExA, RegSetValueExA, RegQueryValueExA.
#include "flash/win32/registry_settings.h"

#include "platform/windows/win32.h"

namespace flash {
namespace {

// Longer values than a path may hold are not ours: they are not read.
constexpr DWORD kMaxValueBytes = 4096;

// An open key, closed with its scope.
class RegistryKey {
 public:
  RegistryKey() = default;
  ~RegistryKey() {
    if (key_ != nullptr) ::RegCloseKey(key_);
  }
  RegistryKey(const RegistryKey&) = delete;
  RegistryKey& operator=(const RegistryKey&) = delete;

  bool Open(const std::string& path, REGSAM access) {
    return ::RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, access, &key_) == ERROR_SUCCESS;
  }
  bool Create(const std::string& path) {
    return ::RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                             KEY_READ | KEY_WRITE, nullptr, &key_, nullptr) == ERROR_SUCCESS;
  }
  HKEY Get() const { return key_; }

 private:
  HKEY key_ = nullptr;
};

}  // namespace

RegistrySettings::RegistrySettings(std::string settingsKey, std::string application)
    : applicationPath_("Software\\" + settingsKey + "\\" + application) {}

std::string RegistrySettings::SectionPath(const std::string& section) const {
  return applicationPath_ + "\\" + section;
}

std::optional<std::string> RegistrySettings::ReadValue(const std::string& section,
                                                       const std::string& name) {
  RegistryKey key;
  if (!key.Open(SectionPath(section), KEY_READ)) return std::nullopt;
  DWORD type = 0;
  DWORD size = 0;
  if (::RegQueryValueExA(key.Get(), name.c_str(), nullptr, &type, nullptr, &size) !=
          ERROR_SUCCESS ||
      (type != REG_SZ && type != REG_EXPAND_SZ) || size > kMaxValueBytes) {
    return std::nullopt;
  }
  // One byte more than asked: a value stored without its terminator still ends.
  std::string bytes(size + 1, '\0');
  if (::RegQueryValueExA(key.Get(), name.c_str(), nullptr, &type,
                         reinterpret_cast<BYTE*>(bytes.data()), &size) != ERROR_SUCCESS) {
    return std::nullopt;  // changed in between, or gone
  }
  return std::string(bytes.c_str());
}

bool RegistrySettings::ReplaceSection(
    const std::string& section, const std::vector<std::pair<std::string, std::string>>& values) {
  const std::string path = SectionPath(section);
  const LONG deleted = ::RegDeleteKeyA(HKEY_CURRENT_USER, path.c_str());
  if (deleted != ERROR_SUCCESS && deleted != ERROR_FILE_NOT_FOUND) return false;
  RegistryKey key;
  if (!key.Create(path)) return false;
  for (const auto& [name, value] : values) {
    if (::RegSetValueExA(key.Get(), name.c_str(), 0, REG_SZ,
                         reinterpret_cast<const BYTE*>(value.c_str()),
                         static_cast<DWORD>(value.size() + 1)) != ERROR_SUCCESS) {
      return false;
    }
  }
  return true;
}

}  // namespace flash
