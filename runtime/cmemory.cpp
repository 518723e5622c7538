// CMemory: best fit over the address-ordered free list; a Free re-inserts in address order and
// merges with touching free neighbours, so the list stays ordered and never holds two touching
// fragments.
#include "runtime/cmemory.h"

#include "runtime/log.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

uint8_t* bytes(void* p) { return static_cast<uint8_t*>(p); }

}  // namespace

CMemory::~CMemory() { Release(); }

int CMemory::Init(size_t size) {
    Release();
    if (size < kHeaderSize) return 0;
    m_pool = static_cast<uint8_t*>(std::calloc(1, size));
    if (m_pool == nullptr) return 0;
    m_poolSize = size;
    auto* whole = reinterpret_cast<Fragment*>(m_pool);
    *whole = {nullptr, nullptr, size - kHeaderSize};
    m_pMemHead = whole;
    m_pMemTail = whole;
    return 1;
}

void CMemory::Release() {
    std::free(m_pool);
    m_pool = nullptr;
    m_poolSize = 0;
    m_pMemHead = nullptr;
    m_pMemTail = nullptr;
}

void* CMemory::Malloc(size_t size) {
    // The size plus one word, rounded up to a word, keeps payloads 8-aligned behind the 24-byte
    // header. A size beyond the pool fits nowhere; capping it keeps the rounding from wrapping.
    const size_t request = size > m_poolSize ? m_poolSize + 1 : (size + 8 + 7) & ~size_t{7};
    Fragment* best = nullptr;
    for (Fragment* f = m_pMemHead; f != nullptr; f = f->next) {
        if (f->size < request) continue;
        if (best == nullptr || f->size < best->size) best = f;
        if (f->size == request) break;
    }
    if (best == nullptr) {
        Log::debug("CMemory::Malloc");
        return nullptr;
    }
    if (best->size - request < kSplitLimit) {
        Unlink(best);
    } else {
        auto* rest = reinterpret_cast<Fragment*>(bytes(best) + kHeaderSize + request);
        *rest = {best->prev, best->next, best->size - request - kHeaderSize};
        (rest->prev != nullptr ? rest->prev->next : m_pMemHead) = rest;
        (rest->next != nullptr ? rest->next->prev : m_pMemTail) = rest;
        best->size = request;
    }
    uint8_t* payload = bytes(best) + kHeaderSize;
    std::memset(payload, 0, best->size);
    return payload;
}

int CMemory::Free(void* payload, int searchForward) {
    uint8_t* p = bytes(payload);
    if (m_pool == nullptr || p < m_pool + kHeaderSize || p >= m_pool + m_poolSize) return 0;
    auto* fragment = reinterpret_cast<Fragment*>(p - kHeaderSize);
    if (m_pMemHead == nullptr) {
        fragment->prev = fragment->next = nullptr;
        m_pMemHead = m_pMemTail = fragment;
    } else if (fragment < m_pMemHead) {
        fragment->prev = nullptr;
        fragment->next = m_pMemHead;
        m_pMemHead->prev = fragment;
        m_pMemHead = fragment;
    } else if (fragment > m_pMemTail) {
        fragment->prev = m_pMemTail;
        fragment->next = nullptr;
        m_pMemTail->next = fragment;
        m_pMemTail = fragment;
    } else {
        Fragment* after = GetAfterFragment(fragment, searchForward);
        fragment->prev = after;
        fragment->next = after->next;
        after->next->prev = fragment;
        after->next = fragment;
    }
    auto endOf = [](Fragment* f) { return bytes(f) + kHeaderSize + f->size; };
    if (Fragment* prev = fragment->prev; prev != nullptr && endOf(prev) == bytes(fragment)) {
        prev->size += kHeaderSize + fragment->size;
        Unlink(fragment);
        fragment = prev;
    }
    if (Fragment* next = fragment->next; next != nullptr && endOf(fragment) == bytes(next)) {
        fragment->size += kHeaderSize + next->size;
        Unlink(next);
    }
    return 1;
}

CMemory::Fragment* CMemory::GetAfterFragment(const Fragment* fragment, int searchForward) const {
    Fragment* f = nullptr;
    if (searchForward != 0) {
        for (f = m_pMemHead; f->next != nullptr && f->next < fragment; f = f->next) {
        }
    } else {
        for (f = m_pMemTail; f->prev != nullptr && f > fragment; f = f->prev) {
        }
    }
    return f;
}

void CMemory::Unlink(Fragment* fragment) {
    (fragment->prev != nullptr ? fragment->prev->next : m_pMemHead) = fragment->next;
    (fragment->next != nullptr ? fragment->next->prev : m_pMemTail) = fragment->prev;
}

std::vector<CMemory::FreeFragment> CMemory::FreeFragments() const {
    std::vector<FreeFragment> list;
    for (const Fragment* f = m_pMemHead; f != nullptr; f = f->next) {
        list.push_back({static_cast<size_t>(reinterpret_cast<const uint8_t*>(f) - m_pool), f->size});
    }
    return list;
}
