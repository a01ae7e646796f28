// CustomerTypeTable and its look-up.
#include "flash/customer_types.h"

#include <array>
#include <cstring>

#include "flash/firmware_image.h"

namespace flash {

namespace {
constexpr std::array<CustomerType, 9> kCustomerTypes = {{
    {{'T', 'V', 'N'}, "TAVREON Model"},
    {{'P', 'L', 'R'}, "PELLAR Model"},
    {{'H', 'M', 'F'}, "HOLMFIR Model"},
    {{'Q', 'D', 'R'}, "QUADRA Model"},
    {{'T', 'L', 'N'}, "TELLIN Model"},
    {{'O', 'R', 'C'}, "ORBEC Model"},
    {{'V', 'R', 'D'}, "VARDO Model"},
    {{'L', 'M', 'X'}, "LUMAX Model"},
    {{'K', 'S', 'T'}, "KESTA Model"},
}};
static_assert(sizeof(CustomerType::code) == kCustomerCodeSize);
}  // namespace

std::span<const CustomerType> CustomerTypeTable() { return kCustomerTypes; }

const char* FindCustomerTypeName(std::span<const std::uint8_t> code) {
  if (code.size() < kCustomerCodeSize) return nullptr;
  for (const CustomerType& type : kCustomerTypes) {
    if (std::memcmp(type.code, code.data(), kCustomerCodeSize) == 0) return type.name;
  }
  return nullptr;
}

}  // namespace flash
