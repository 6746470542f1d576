#pragma once
// A block of sample bytes with a recursive lock and a type name. Hosts own their buffers
// and hand them to components, which bracket every access with lockData/unlockData (or
// lock/unlock) and give a buffer back once with release. A block set with setData is
// viewed, not owned.
#include <boost/thread/recursive_mutex.hpp>
#include <cstdint>

#include "framework/SimpleString.h"

namespace Orb {

class MediaBuffer {
 public:
  MediaBuffer() = default;
  MediaBuffer(const MediaBuffer&) = delete;
  MediaBuffer& operator=(const MediaBuffer&) = delete;

  /// Waits until no other thread holds the buffer, then frees the type name.
  virtual ~MediaBuffer() { MediaBuffer::release(); }

  /// Views `pointer` (not owned) as a block of `blockSize` bytes; `length` is unchanged.
  virtual void setData(std::uint8_t* pointer, std::uint32_t blockSize) {
    data_ = pointer;
    size = blockSize;
  }

  /// Gives the buffer back to its owner. Here: waits until no other thread holds it.
  /// Host buffer classes extend this with their own return path.
  virtual void release() {
    mutex_.lock();
    mutex_.unlock();
  }

  /// Acquires the lock (again, on the thread that holds it) and answers the block.
  virtual std::uint8_t* lockData() {
    mutex_.lock();
    return data_;
  }

  /// Releases one acquisition.
  virtual void unlockData() { mutex_.unlock(); }

  virtual void lock() { mutex_.lock(); }
  virtual void unlock() { mutex_.unlock(); }

  const SimpleString<unsigned char>& getTypeName() const { return typeName_; }

  /// True when the type name is exactly `name` (for example "FONT").
  bool hasTypeName(const char* name) const {
    return typeName_.equals(reinterpret_cast<const unsigned char*>(name));
  }

  void setTypeName(const char* name) {
    typeName_ = SimpleString<unsigned char>(reinterpret_cast<const unsigned char*>(name));
  }

  std::uint32_t length = 0;  ///< bytes of valid data
  std::uint32_t size = 0;    ///< bytes of the block

 private:
  std::uint8_t* data_ = nullptr;  // not owned when set through setData
  boost::recursive_mutex mutex_;
  SimpleString<unsigned char> typeName_;  // destroyed before mutex_
};

}  // namespace Orb
