// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/ByteStream.h"

#include <bit>
#include <cstring>

void TMemoryStream::WriteBytes(const void* data, std::size_t size) {
    const auto* p = static_cast<const std::uint8_t*>(data);
    if (pos_ + size > bytes_.size())
        bytes_.resize(pos_ + size);
    if (size > 0)
        std::memcpy(bytes_.data() + pos_, p, size);
    pos_ += size;
}

void TMemoryStream::WriteU8(std::uint8_t v) {
    WriteBytes(&v, 1);
}

void TMemoryStream::WriteU16(std::uint16_t v) {
    const std::uint8_t b[2] = {std::uint8_t(v), std::uint8_t(v >> 8)};
    WriteBytes(b, 2);
}

void TMemoryStream::WriteU32(std::uint32_t v) {
    const std::uint8_t b[4] = {std::uint8_t(v), std::uint8_t(v >> 8), std::uint8_t(v >> 16),
                               std::uint8_t(v >> 24)};
    WriteBytes(b, 4);
}

void TMemoryStream::WriteFloat(float v) {
    WriteU32(std::bit_cast<std::uint32_t>(v));
}

void TMemoryStream::Require(std::size_t size) const {
    if (size > Remaining())
        throw EReadError("Stream read error: read past the end of the stream");
}

void TMemoryStream::ReadBytes(void* data, std::size_t size) {
    Require(size);
    if (size > 0)
        std::memcpy(data, bytes_.data() + pos_, size);
    pos_ += size;
}

std::uint8_t TMemoryStream::ReadU8() {
    Require(1);
    return bytes_[pos_++];
}

std::uint16_t TMemoryStream::ReadU16() {
    std::uint8_t b[2];
    ReadBytes(b, 2);
    return std::uint16_t(b[0] | (b[1] << 8));
}

std::uint32_t TMemoryStream::ReadU32() {
    std::uint8_t b[4];
    ReadBytes(b, 4);
    return std::uint32_t(b[0]) | (std::uint32_t(b[1]) << 8) | (std::uint32_t(b[2]) << 16) |
           (std::uint32_t(b[3]) << 24);
}

float TMemoryStream::ReadFloat() {
    return std::bit_cast<float>(ReadU32());
}
