// Pieces of the drive list labels taken from INQUIRY data and adapter records.
#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace drvcmd {

inline constexpr std::size_t kInquiryVendorOffset = 8;
inline constexpr std::size_t kVendorLength = 8;
inline constexpr std::size_t kVendorProductLength = 24;          // INQUIRY bytes 8-31
inline constexpr std::size_t kVendorProductRevisionLength = 28;  // INQUIRY bytes 8-35
inline constexpr std::uint8_t kPeripheralCdDvd = 0x05;
inline constexpr std::uint8_t kPeripheralWriteOnce = 0x04;

// Appends a fixed-width field as it comes, except that a zero byte ends it:
// the label is a C string, so the field reads as a C string would, and the
// rest of the label still follows.
void AppendField(std::string& label, std::span<const std::uint8_t> field);

// INQUIRY bytes [offset, offset + length) of the answer at the data buffer's start.
std::span<const std::uint8_t> InquiryField(std::span<const std::uint8_t> inquiry,
                                           std::size_t offset, std::size_t length);

}  // namespace drvcmd
