// Block allocator for the nodes of one XML document.
//
// Parsing a large file makes millions of equal-sized nodes; taking them from
// big chunks instead of one heap block each keeps both parse and teardown fast.
// Every block carries a header naming its pool, so a node moved to another
// document is still given back to the pool it came from, and a pool outlives
// its document until its last node is gone.
#pragma once

#include <cstddef>
#include <vector>

class XmlNodePool {
public:
    // A block of `size` bytes from `pool`, or from the heap when `pool` is null
    // or the size is not the pool's block size.
    static void* Allocate(XmlNodePool* pool, std::size_t size);
    // Gives a block back to where it came from.
    static void Free(void* block);

    explicit XmlNodePool(std::size_t blockSize);
    XmlNodePool(const XmlNodePool&) = delete;
    XmlNodePool& operator=(const XmlNodePool&) = delete;
    // The owner lets go; the pool is destroyed now or when its last block returns.
    void Detach();

private:
    struct Header {
        XmlNodePool* pool;
        void* next;  // free-list link while the block is free
    };
    static_assert(sizeof(Header) % alignof(std::max_align_t) == 0);

    ~XmlNodePool();
    void* Take();
    void Give(Header* header);

    std::size_t m_blockSize;  // header included
    std::vector<char*> m_chunks;
    char* m_next = nullptr;
    char* m_limit = nullptr;
    Header* m_free = nullptr;
    std::size_t m_live = 0;
    bool m_attached = true;
};
