// Shell document type registration in the registry.
#include "flash/win32/shell_registration.h"

#include "flash/document_type.h"
#include "platform/windows/win32.h"

namespace flash {
namespace {

constexpr DWORD kMaxTypeBytes = 512;

// The default value of a key, created when needed.
bool SetDefaultValue(const std::string& path, const std::string& value) {
  HKEY key = nullptr;
  if (::RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                        KEY_WRITE, nullptr, &key, nullptr) != ERROR_SUCCESS) {
    return false;
  }
  const bool written =
      ::RegSetValueExA(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                       static_cast<DWORD>(value.size() + 1)) == ERROR_SUCCESS;
  ::RegCloseKey(key);
  return written;
}

// The default value of a key, empty when it or the key is missing.
std::string DefaultValue(HKEY root, const std::string& path) {
  HKEY key = nullptr;
  if (::RegOpenKeyExA(root, path.c_str(), 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) return {};
  char text[kMaxTypeBytes + 1] = {};
  DWORD size = kMaxTypeBytes;
  DWORD type = 0;
  const LONG result =
      ::RegQueryValueExA(key, nullptr, nullptr, &type, reinterpret_cast<BYTE*>(text), &size);
  ::RegCloseKey(key);
  if (result != ERROR_SUCCESS || type != REG_SZ) return {};
  return std::string(text);
}

std::string Quoted(const std::string& text) { return "\"" + text + "\""; }

}  // namespace

bool RegisterShellDocumentType(std::string_view documentString, const std::string& executablePath,
                               const ShellClasses& classes) {
  const DocumentType type = DocumentTypeOf(documentString);
  if (type.id.empty()) return true;
  const std::string typePath = classes.userPath + "\\" + type.id;
  const std::string program = Quoted(executablePath);
  // The open command names the file on the command line: this program serves
  // no DDE conversation, so none is announced.
  const bool written =
      SetDefaultValue(typePath, type.name) &&
      SetDefaultValue(typePath + "\\DefaultIcon", executablePath + ",0") &&
      SetDefaultValue(typePath + "\\shell\\open\\command", program + " \"%1\"") &&
      SetDefaultValue(typePath + "\\shell\\print\\command", program + " /p \"%1\"") &&
      SetDefaultValue(typePath + "\\shell\\printto\\command",
                      program + " /pt \"%1\" \"%2\" \"%3\" \"%4\"");
  if (!written || type.extension.empty()) return written;

  const std::string current =
      classes.readMerged
          ? DefaultValue(HKEY_CLASSES_ROOT, type.extension)
          : DefaultValue(HKEY_CURRENT_USER, classes.userPath + "\\" + type.extension);
  if (!ClaimsExtension(current, type.id)) return true;
  return SetDefaultValue(classes.userPath + "\\" + type.extension, type.id);
}

}  // namespace flash
