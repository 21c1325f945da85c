// Large blocks straight from the system, aligned and advised for huge pages;
// small ones from the heap.
#include "io_utils/page_memory.h"

#include <sys/mman.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <utility>

namespace io_utils {
namespace {

constexpr std::size_t kHugePage = std::size_t{2} << 20;

bool is_large(std::size_t bytes) {
  return bytes >= kHugePage;
}

// Large blocks occupy whole huge pages. Sizes this close to the top of the
// address space cannot be had anyway.
std::size_t mapped_size(std::size_t bytes) {
  if (bytes > static_cast<std::size_t>(PTRDIFF_MAX) - 2 * kHugePage)
    throw std::bad_alloc();
  return (bytes + kHugePage - 1) / kHugePage * kHugePage;
}

// The kernel backs only aligned 2 MiB pieces with huge pages, and mmap
// promises 4 KiB alignment; so one huge page more is mapped and the
// unaligned ends are given back.
void* map_aligned(std::size_t size) {
  const std::size_t padded = size + kHugePage;
  void* mapped = ::mmap(nullptr, padded, PROT_READ | PROT_WRITE,
                        MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (mapped == MAP_FAILED)
    throw std::bad_alloc();
  const auto start = reinterpret_cast<std::uintptr_t>(mapped);
  const std::uintptr_t aligned = (start + kHugePage - 1) & ~(kHugePage - 1);
  const std::size_t head = aligned - start;
  const std::size_t tail = padded - head - size;
  if (head > 0)
    ::munmap(mapped, head);
  if (tail > 0)
    ::munmap(reinterpret_cast<void*>(aligned + size), tail);
  auto* block = reinterpret_cast<void*>(aligned);
  // Only advice: a kernel without huge pages maps small ones as usual.
  (void)::madvise(block, size, MADV_HUGEPAGE);
  return block;
}

}  // namespace

void* allocate_pages(std::size_t bytes) {
  if (bytes == 0)
    return nullptr;
  if (!is_large(bytes))
    return ::operator new(bytes);
  return map_aligned(mapped_size(bytes));
}

void release_pages(void* block, std::size_t bytes) noexcept {
  if (block == nullptr)
    return;
  if (!is_large(bytes)) {
    ::operator delete(block);
    return;
  }
  ::munmap(block, (bytes + kHugePage - 1) / kHugePage * kHugePage);
}

ByteBuffer::ByteBuffer(ByteBuffer&& other) noexcept
    : data_(std::exchange(other.data_, nullptr)),
      size_(std::exchange(other.size_, 0)),
      capacity_(std::exchange(other.capacity_, 0)) {}

ByteBuffer& ByteBuffer::operator=(ByteBuffer&& other) noexcept {
  if (this != &other) {
    release_pages(data_, capacity_);
    data_ = std::exchange(other.data_, nullptr);
    size_ = std::exchange(other.size_, 0);
    capacity_ = std::exchange(other.capacity_, 0);
  }
  return *this;
}

void ByteBuffer::reserve(std::size_t capacity) {
  if (capacity <= capacity_)
    return;
  // A large block holds whole huge pages: the rest of the last one is room
  // to grow into at no cost.
  if (is_large(capacity))
    capacity = mapped_size(capacity);
  auto* block = static_cast<char*>(allocate_pages(capacity));
  if (size_ > 0)
    std::memcpy(block, data_, size_);
  release_pages(data_, capacity_);
  data_ = block;
  capacity_ = capacity;
}

void ByteBuffer::append(std::string_view bytes) {
  if (bytes.size() > spare_size()) {
    if (bytes.size() > static_cast<std::size_t>(PTRDIFF_MAX) - size_)
      throw std::bad_alloc();
    reserve(std::max({size_ + bytes.size(), 2 * capacity_, std::size_t{4096}}));
  }
  if (!bytes.empty())
    std::memcpy(data_ + size_, bytes.data(), bytes.size());
  size_ += bytes.size();
}

}  // namespace io_utils
