// The customer codes a firmware image may carry and the model names the load
// summary shows for them.
#pragma once

#include <cstdint>
#include <span>

namespace flash {

struct CustomerType {
  char code[3];
  const char* name;
};

// CustomerTypeTable, in the order it is searched.
std::span<const CustomerType> CustomerTypeTable();

// The name for the first exact 3-byte match of `code`, or nullptr when none
// matches (or fewer than three bytes are given).
const char* FindCustomerTypeName(std::span<const std::uint8_t> code);

}  // namespace flash
