// Checked reads of one JSON object's fields, with errors that name the file and
// the field ("machine.json: devices[2].letter: expected ...").
#pragma once

#include <cstdint>
#include <initializer_list>
#include <nlohmann/json.hpp>
#include <span>
#include <string>
#include <string_view>

namespace emu {

enum class Need { kOptional, kRequired };

class FieldReader {
 public:
  // `path` is the object's own place ("devices[2]"), empty for the top level.
  FieldReader(const nlohmann::json& object, std::string file, std::string path);

  // "file: path.key" (or "file: key" at the top level).
  std::string Where(std::string_view key) const;
  std::string WhereSelf() const;
  std::string Child(std::string_view key) const;  // "path.key" for nested readers

  bool IsObject(std::string* error) const;
  bool Has(std::string_view key) const;
  // Fails on the first key that is in neither list.
  bool OnlyKeys(std::initializer_list<std::string_view> known,
                std::span<const std::string_view> alsoKnown, std::string* error) const;

  // Missing optional fields leave *value as it was. Unsigned fields take a JSON
  // number or a "0x.." hexadecimal string.
  bool Unsigned(std::string_view key, Need need, std::uint64_t maximum, std::uint64_t* value,
                std::string* error) const;
  bool Signed(std::string_view key, Need need, std::int64_t minimum, std::int64_t maximum,
              std::int64_t* value, std::string* error) const;
  bool Boolean(std::string_view key, Need need, bool* value, std::string* error) const;
  bool String(std::string_view key, Need need, std::size_t maxLength, std::string* value,
              std::string* error) const;
  bool Float(std::string_view key, Need need, float* value, std::string* error) const;

  const nlohmann::json& Object() const { return object_; }
  const std::string& File() const { return file_; }

 private:
  bool Missing(std::string_view key, Need need, std::string* error) const;

  const nlohmann::json& object_;
  std::string file_;
  std::string path_;
};

// 0..15 for a hexadecimal digit of either case, -1 for any other character.
int HexDigitValue(char c);

// A JSON unsigned number, or a string "0x" followed by hexadecimal digits.
bool ParseUnsignedValue(const nlohmann::json& value, std::uint64_t maximum, std::uint64_t* out);

}  // namespace emu
