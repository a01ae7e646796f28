// Checked field reads for the machine file.
#include "emulator/field_reader.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace emu {

namespace {

bool Fail(std::string* error, std::string text) {
  if (error != nullptr) *error = std::move(text);
  return false;
}

}  // namespace

int HexDigitValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

bool ParseUnsignedValue(const nlohmann::json& value, std::uint64_t maximum, std::uint64_t* out) {
  if (value.is_number_unsigned()) {
    const auto number = value.get<std::uint64_t>();
    if (number > maximum) return false;
    *out = number;
    return true;
  }
  if (!value.is_string()) return false;
  const auto& text = value.get_ref<const std::string&>();
  if (text.size() < 3 || text.size() > 18 || text[0] != '0' || (text[1] != 'x' && text[1] != 'X')) {
    return false;
  }
  std::uint64_t number = 0;
  for (std::size_t i = 2; i < text.size(); ++i) {
    const int digit = HexDigitValue(text[i]);
    if (digit < 0) return false;
    if (number > (std::numeric_limits<std::uint64_t>::max() >> 4)) return false;
    number = (number << 4) | static_cast<std::uint64_t>(digit);
  }
  if (number > maximum) return false;
  *out = number;
  return true;
}

FieldReader::FieldReader(const nlohmann::json& object, std::string file, std::string path)
    : object_(object), file_(std::move(file)), path_(std::move(path)) {}

std::string FieldReader::Where(std::string_view key) const { return file_ + ": " + Child(key); }

std::string FieldReader::WhereSelf() const { return path_.empty() ? file_ : file_ + ": " + path_; }

std::string FieldReader::Child(std::string_view key) const {
  return path_.empty() ? std::string(key) : path_ + "." + std::string(key);
}

bool FieldReader::IsObject(std::string* error) const {
  if (object_.is_object()) return true;
  return Fail(error, WhereSelf() + ": expected an object");
}

bool FieldReader::Has(std::string_view key) const {
  return object_.is_object() && object_.contains(key);
}

bool FieldReader::OnlyKeys(std::initializer_list<std::string_view> known,
                           std::span<const std::string_view> alsoKnown, std::string* error) const {
  for (const auto& item : object_.items()) {
    const std::string& key = item.key();
    const bool isKnown = std::find(known.begin(), known.end(), key) != known.end() ||
                         std::find(alsoKnown.begin(), alsoKnown.end(), key) != alsoKnown.end();
    if (!isKnown) return Fail(error, Where(key) + ": unknown field");
  }
  return true;
}

bool FieldReader::Missing(std::string_view key, Need need, std::string* error) const {
  if (need == Need::kRequired) return Fail(error, Where(key) + ": missing");
  return true;
}

bool FieldReader::Unsigned(std::string_view key, Need need, std::uint64_t maximum,
                           std::uint64_t* value, std::string* error) const {
  if (!Has(key)) return Missing(key, need, error);
  if (!ParseUnsignedValue(object_.at(key), maximum, value)) {
    return Fail(error, Where(key) + ": expected a number from 0 to " + std::to_string(maximum) +
                           " (decimal, or a \"0x\" hexadecimal string)");
  }
  return true;
}

bool FieldReader::Signed(std::string_view key, Need need, std::int64_t minimum,
                         std::int64_t maximum, std::int64_t* value, std::string* error) const {
  if (!Has(key)) return Missing(key, need, error);
  const auto& field = object_.at(key);
  if (field.is_number_integer()) {
    const bool tooBig = field.is_number_unsigned() &&
                        field.get<std::uint64_t>() >
                            static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max());
    if (!tooBig) {
      const auto number = field.get<std::int64_t>();
      if (number >= minimum && number <= maximum) {
        *value = number;
        return true;
      }
    }
  }
  return Fail(error, Where(key) + ": expected a whole number from " + std::to_string(minimum) +
                         " to " + std::to_string(maximum));
}

bool FieldReader::Boolean(std::string_view key, Need need, bool* value, std::string* error) const {
  if (!Has(key)) return Missing(key, need, error);
  const auto& field = object_.at(key);
  if (!field.is_boolean()) return Fail(error, Where(key) + ": expected true or false");
  *value = field.get<bool>();
  return true;
}

bool FieldReader::String(std::string_view key, Need need, std::size_t maxLength, std::string* value,
                         std::string* error) const {
  if (!Has(key)) return Missing(key, need, error);
  const auto& field = object_.at(key);
  if (!field.is_string() || field.get_ref<const std::string&>().size() > maxLength) {
    return Fail(error, Where(key) + ": expected a text of at most " + std::to_string(maxLength) +
                           " characters");
  }
  *value = field.get<std::string>();
  return true;
}

bool FieldReader::Float(std::string_view key, Need need, float* value, std::string* error) const {
  if (!Has(key)) return Missing(key, need, error);
  const auto& field = object_.at(key);
  if (!field.is_number() || !std::isfinite(field.get<double>()) ||
      std::fabs(field.get<double>()) > std::numeric_limits<float>::max()) {
    return Fail(error, Where(key) + ": expected a number");
  }
  *value = static_cast<float>(field.get<double>());
  return true;
}

}  // namespace emu
