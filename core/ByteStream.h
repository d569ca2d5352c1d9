// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// An in-memory byte stream with little-endian reads and writes, used for
// raw-byte stored properties. A read past the end throws EReadError.

#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <vector>

class EReadError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class TMemoryStream {
public:
    TMemoryStream() = default;
    explicit TMemoryStream(std::vector<std::uint8_t> bytes) : bytes_(std::move(bytes)) {}

    const std::vector<std::uint8_t>& Bytes() const { return bytes_; }
    std::size_t Size() const { return bytes_.size(); }
    std::size_t Position() const { return pos_; }
    void Seek(std::size_t pos) { pos_ = pos; }
    std::size_t Remaining() const { return pos_ < bytes_.size() ? bytes_.size() - pos_ : 0; }

    void WriteU8(std::uint8_t v);
    void WriteU16(std::uint16_t v);
    void WriteU32(std::uint32_t v);
    void WriteI8(std::int8_t v) { WriteU8(static_cast<std::uint8_t>(v)); }
    void WriteI16(std::int16_t v) { WriteU16(static_cast<std::uint16_t>(v)); }
    void WriteI32(std::int32_t v) { WriteU32(static_cast<std::uint32_t>(v)); }
    void WriteFloat(float v);
    void WriteBytes(const void* data, std::size_t size);

    std::uint8_t ReadU8();
    std::uint16_t ReadU16();
    std::uint32_t ReadU32();
    std::int8_t ReadI8() { return static_cast<std::int8_t>(ReadU8()); }
    std::int16_t ReadI16() { return static_cast<std::int16_t>(ReadU16()); }
    std::int32_t ReadI32() { return static_cast<std::int32_t>(ReadU32()); }
    float ReadFloat();
    void ReadBytes(void* data, std::size_t size);

private:
    void Require(std::size_t size) const;

    std::vector<std::uint8_t> bytes_;
    std::size_t pos_ = 0;
};
