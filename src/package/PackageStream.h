// Byte streams the package code reads and writes through. The pure readers only see this
// interface, so they run natively in tests and on Win32 over the program's own file.
#pragma once

#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>

namespace vnt {

// Raised when package data is damaged: a read past the end, a count the data cannot hold.
class EPackageError : public std::runtime_error {
public:
  using std::runtime_error::runtime_error;
};

class TStream {
public:
  virtual ~TStream() = default;
  // Reads up to count bytes; answers how many were read (fewer only at the end).
  virtual size_t Read(void* buffer, size_t count) = 0;
  virtual void Write(const void* buffer, size_t count) = 0;
  virtual void Seek(uint64_t position) = 0;
  virtual uint64_t Position() const = 0;
  virtual uint64_t Size() const = 0;

  uint64_t Remaining() const {
    uint64_t pos = Position(), size = Size();
    return pos < size ? size - pos : 0;
  }
  // Reads exactly count bytes or raises EPackageError.
  void ReadExact(void* buffer, size_t count);
};

// A stream over bytes held in memory; used by tests, the builder and the uninstall record.
class TMemoryStream : public TStream {
public:
  TMemoryStream() = default;
  explicit TMemoryStream(std::string bytes) : Data(std::move(bytes)) {}

  size_t Read(void* buffer, size_t count) override;
  void Write(const void* buffer, size_t count) override;
  void Seek(uint64_t position) override { Pos = position; }
  uint64_t Position() const override { return Pos; }
  uint64_t Size() const override { return Data.size(); }

  const std::string& Bytes() const { return Data; }
  std::string& Bytes() { return Data; }

private:
  std::string Data;
  uint64_t Pos = 0;
};

// Shows only the first Limit bytes of another stream: the package ends before anything that
// may follow it in the file, and no reader may run past that end.
class TStreamWindow : public TStream {
public:
  TStreamWindow(std::unique_ptr<TStream> inner, uint64_t limit)
      : Inner(std::move(inner)), Limit(limit) {}

  size_t Read(void* buffer, size_t count) override;
  void Write(const void*, size_t) override { throw EPackageError("package stream is read-only"); }
  void Seek(uint64_t position) override { Inner->Seek(position); }
  uint64_t Position() const override { return Inner->Position(); }
  uint64_t Size() const override { return Limit; }

private:
  std::unique_ptr<TStream> Inner;
  uint64_t Limit;
};

}  // namespace vnt
