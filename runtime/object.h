// Object: the root of every compiled class. Layout: the C++ vptr (the class's virtual table), then
// the header word (class id, collectable flag, mark nibble). The six slots below are the contract
// every class's table starts with, in this order. Objects come only from the object heap.
#pragma once

#include <cstddef>
#include <cstdint>

#include "runtime/class_ids.h"
#include "runtime/jtypes.h"

class String;

struct ObjectHeader {
    uint16_t classId;     // kCollectedClassId once swept
    uint8_t collectable;  // 0: never freed (threads, pooled strings)
    uint8_t mark;         // low nibble: the collector's mark; header constructors leave 0x01
};

class Object {
public:
    // The header constructor: stamps the class id. Each subclass's constructor stamps its own id
    // after this, so the most-derived id wins. The Java constructor is a separate init(...).
    Object() : m_header{CID_Object, 1, 0x01} {}

    // Slot 0: releases what the object holds outside the object heap. Called by the collector
    // before the block is freed; never a C++ destructor. The collector itself then releases the
    // object's monitor record, so an override need not chain to this one.
    virtual void destroy();
    // Slot 1: reference identity.
    virtual bool equals(Object* other);
    // Slot 2: logs "clone", prints the method trace, answers null.
    virtual Object* clone();
    // Slot 3: "Object_id=%d @0x%x" with the signed class id and the address in lower-case hex.
    virtual String* toString();
    // Slot 4: the low 32 bits of the address.
    virtual jint hashCode();
    // Slot 5: the address of the sub-object for interface `classId`, or null.
    virtual void* getInterface(jint classId);

    // The monitor operations (runtime/monitor.cpp); the caller holds this object's monitor. wait
    // releases it, blocks (parked) until notified or, for millis > 0, until that time has passed,
    // and takes it back. notify wakes the longest waiting thread, notifyAll every waiting thread.
    void wait(jlong millis = 0);
    void notify();
    void notifyAll();

    // Allocation goes through the object heap and registers with the collector; null when the heap
    // is exhausted (a noexcept operator new makes the new-expression skip the constructor then).
    static void* operator new(std::size_t size) noexcept;
    // Objects are freed by the collector (or Runtime::freeBlock), never by delete.
    static void operator delete(void*) noexcept {}
    static void* operator new(std::size_t, void* place) noexcept { return place; }

    [[nodiscard]] uint16_t classId() const { return m_header.classId; }
    [[nodiscard]] bool isCollectable() const { return m_header.collectable != 0; }
    void setCollectable(bool collectable) { m_header.collectable = collectable ? 1 : 0; }
    [[nodiscard]] uint8_t markBits() const { return m_header.mark & 0x0F; }
    void setMarkBits(uint8_t bits) { m_header.mark = static_cast<uint8_t>((m_header.mark & 0xF0) | (bits & 0x0F)); }
    // The collector stamps a swept object so stale references are recognisable.
    void stampCollected() { m_header.classId = kCollectedClassId; }

protected:
    void setClassId(uint16_t id) { m_header.classId = id; }

private:
    ObjectHeader m_header;
};
