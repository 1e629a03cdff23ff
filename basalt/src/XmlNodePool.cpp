#include "internal/XmlNodePool.h"

#include <cstdlib>
#include <mutex>
#include <new>

namespace {

// Below the heap's usual memory-map threshold, so chunks are reused rather than
// mapped and faulted in afresh for every document.
constexpr std::size_t kChunkBytes = 64 * 1024;
// Chunks of finished documents are kept (up to this many) for the next one:
// handing them back to the heap would make it sweep every small block freed
// with the tree the next time a chunk is asked for.
constexpr std::size_t kSpareChunks = 1024;

// A plain array: it is never destroyed, so kept chunks stay reachable until exit.
std::mutex g_spareLock;
char* g_spare[kSpareChunks];
std::size_t g_spareCount = 0;

char* NewChunk() {
    {
        std::lock_guard<std::mutex> lock(g_spareLock);
        if (g_spareCount > 0) return g_spare[--g_spareCount];
    }
    auto* chunk = static_cast<char*>(std::malloc(kChunkBytes));
    if (!chunk) throw std::bad_alloc();
    return chunk;
}

void DropChunk(char* chunk) {
    {
        std::lock_guard<std::mutex> lock(g_spareLock);
        if (g_spareCount < kSpareChunks) {
            g_spare[g_spareCount++] = chunk;
            return;
        }
    }
    std::free(chunk);
}

}  // namespace

XmlNodePool::XmlNodePool(std::size_t blockSize)
    : m_blockSize(sizeof(Header) + (blockSize + alignof(std::max_align_t) - 1) / alignof(std::max_align_t) *
                                       alignof(std::max_align_t)) {}

XmlNodePool::~XmlNodePool() {
    for (char* chunk : m_chunks) DropChunk(chunk);
}

void XmlNodePool::Detach() {
    m_attached = false;
    if (m_live == 0) delete this;
}

void* XmlNodePool::Allocate(XmlNodePool* pool, std::size_t size) {
    if (pool && sizeof(Header) + size <= pool->m_blockSize) return pool->Take();
    auto* header = static_cast<Header*>(std::malloc(sizeof(Header) + size));
    if (!header) throw std::bad_alloc();
    header->pool = nullptr;
    return header + 1;
}

void XmlNodePool::Free(void* block) {
    if (!block) return;
    Header* header = static_cast<Header*>(block) - 1;
    if (header->pool)
        header->pool->Give(header);
    else
        std::free(header);
}

void* XmlNodePool::Take() {
    Header* header = m_free;
    if (header) {
        m_free = static_cast<Header*>(header->next);
    } else {
        if (!m_next || static_cast<std::size_t>(m_limit - m_next) < m_blockSize) {
            m_chunks.reserve(m_chunks.size() + 1);
            char* chunk = NewChunk();
            m_chunks.push_back(chunk);
            m_next = chunk;
            m_limit = chunk + kChunkBytes / m_blockSize * m_blockSize;
        }
        header = reinterpret_cast<Header*>(m_next);
        m_next += m_blockSize;
    }
    header->pool = this;
    ++m_live;
    return header + 1;
}

void XmlNodePool::Give(Header* header) {
    header->next = m_free;
    m_free = header;
    if (--m_live == 0 && !m_attached) delete this;
}
