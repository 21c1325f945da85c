// Memory for the large arrays of a run: file contents, line tables and the
// like, taken from the system in whole pages.
//
// On these machines the kernel's cost of mapping and zeroing 4 KiB pages
// outweighs the comparison itself on large files, so a block of 2 MiB or
// more is aligned to 2 MiB and advised to use huge pages: it is then mapped
// in a few large pieces. Smaller blocks come from the ordinary heap.
//
// Every failure to get memory throws std::bad_alloc, as operator new does,
// so that the program reports it like any other exhausted memory.
#ifndef VRELSDIFF_IO_UTILS_PAGE_MEMORY_H_
#define VRELSDIFF_IO_UTILS_PAGE_MEMORY_H_

#include <cstddef>
#include <new>
#include <string_view>

namespace io_utils {

// A block of at least `bytes` bytes (none when `bytes` is 0), aligned for
// any object. Its content is unspecified.
void* allocate_pages(std::size_t bytes);

// Releases a block; `bytes` is the size it was asked for.
void release_pages(void* block, std::size_t bytes) noexcept;

// An allocator for standard containers whose storage can grow large, such as
// the line tables: std::vector<T, PageAllocator<T>>.
template <typename T>
struct PageAllocator {
  using value_type = T;

  PageAllocator() = default;
  template <typename U>
  PageAllocator(const PageAllocator<U>&) {}

  T* allocate(std::size_t n) {
    if (n > static_cast<std::size_t>(-1) / sizeof(T))
      throw std::bad_alloc();
    return static_cast<T*>(allocate_pages(n * sizeof(T)));
  }
  void deallocate(T* p, std::size_t n) noexcept {
    release_pages(p, n * sizeof(T));
  }

  template <typename U>
  bool operator==(const PageAllocator<U>&) const {
    return true;
  }
};

// Bytes of one owner that can grow, such as a whole file as read. Moving a
// buffer hands over its block: views into the bytes stay valid for as long
// as some buffer owns them. Growing may move the bytes.
class ByteBuffer {
 public:
  ByteBuffer() = default;
  ~ByteBuffer() { release_pages(data_, capacity_); }
  ByteBuffer(ByteBuffer&& other) noexcept;
  ByteBuffer& operator=(ByteBuffer&& other) noexcept;
  ByteBuffer(const ByteBuffer&) = delete;
  ByteBuffer& operator=(const ByteBuffer&) = delete;

  char* data() { return data_; }
  const char* data() const { return data_; }
  std::size_t size() const { return size_; }
  std::size_t capacity() const { return capacity_; }
  std::string_view view() const { return {data_, size_}; }

  // Room for at least `capacity` bytes; the bytes held stay as they are.
  void reserve(std::size_t capacity);

  // The room after the bytes held, for a writer that then calls
  // commit(count) with the number of bytes it put there.
  char* spare() { return data_ + size_; }
  std::size_t spare_size() const { return capacity_ - size_; }
  void commit(std::size_t count) { size_ += count; }

  // Appends `bytes`, growing as needed.
  void append(std::string_view bytes);

 private:
  char* data_ = nullptr;
  std::size_t size_ = 0;
  std::size_t capacity_ = 0;
};

}  // namespace io_utils

#endif  // VRELSDIFF_IO_UTILS_PAGE_MEMORY_H_
