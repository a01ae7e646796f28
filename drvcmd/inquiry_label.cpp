// Label fields from INQUIRY data and adapter records.
#include "drvcmd/inquiry_label.h"

#include <algorithm>

namespace drvcmd {

void AppendField(std::string& label, std::span<const std::uint8_t> field) {
  const auto end = std::find(field.begin(), field.end(), std::uint8_t{0});
  label.append(field.begin(), end);
}

std::span<const std::uint8_t> InquiryField(std::span<const std::uint8_t> inquiry,
                                           std::size_t offset, std::size_t length) {
  if (offset >= inquiry.size()) return {};
  return inquiry.subspan(offset, std::min(length, inquiry.size() - offset));
}

}  // namespace drvcmd
