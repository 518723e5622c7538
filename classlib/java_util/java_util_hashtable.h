// java_util_Hashtable (60) with its chain entries (61) and enumerator (59): chained buckets indexed
// by (hash & 0x7FFFFFFF) mod capacity, new entries at the head of their chain, growth to 2·cap+1.
// Invariants: every entry of bucket i has its stored hash mapping to i; count is the number of
// entries reachable from table; no entry holds a null key or value.
#pragma once

#include "classlib/java_util/java_util_enumeration.h"
#include "runtime/object.h"

class ObjectArray;
class String;

class java_util_HashtableEntry : public Object {
public:
    java_util_HashtableEntry() { setClassId(CID_java_util_HashtableEntry); }

    jint hash;
    Object* key;
    Object* value;
    java_util_HashtableEntry* next;
};

class java_util_Hashtable;

class java_util_Hashtable_HashtableEnumerator : public Object {
public:
    java_util_Hashtable_HashtableEnumerator() { setClassId(CID_java_util_Hashtable_HashtableEnumerator); }

    void init(java_util_Hashtable* owner, ObjectArray* buckets, bool keys);
    // Slot 5: the Enumeration sub-object for id 57.
    void* getInterface(jint classId) override;

    // Not locked: an enumerator used while the table changes sees whatever chains it meets.
    bool hasMoreElements();
    // NoSuchElementException (literal 238) when nothing is left.
    Object* nextElement();

    // The Enumeration sub-object: forwards to the enclosing enumerator.
    struct EnumerationPart final : java_util_Enumeration {
        bool hasMoreElements() override;
        Object* nextElement() override;
    };

    EnumerationPart enumeration;
    jboolean keys;  // 1: yields keys, 0: values
    jint index;     // the next bucket to look at is index - 1
    ObjectArray* table;
    java_util_HashtableEntry* entry;
    java_util_Hashtable* owner;

private:
    // Moves to the next non-empty bucket head; false when the buckets are used up.
    bool advance();
};

class java_util_Hashtable : public Object {
public:
    java_util_Hashtable() { setClassId(CID_java_util_Hashtable); }

    // Hashtable(): 11 buckets, threshold 8.
    void init();
    // Hashtable(int): a negative capacity raises IllegalArgumentException; 0 is taken as 1.
    void init(jint initialCapacity);

    // Slot 3: literal 236, then key + literal 14 + value per entry joined by literal 71, then 237.
    String* toString() override;
    // Slots 6 to 9.
    virtual jint size() { return count; }
    virtual bool isEmpty() { return count == 0; }
    // NullPointerException for a null value.
    virtual bool contains(Object* value);
    virtual void clear();

    // A null key raises NullPointerException (the key's hashCode could not be asked) and answers
    // null / false; a null value to put does the same and changes nothing.
    Object* get(Object* key);
    bool containsKey(Object* key);
    Object* put(Object* key, Object* value);
    Object* remove(Object* key);
    // Enumerators over the current bucket array; reach hasMoreElements/nextElement through
    // getInterface(CID_java_util_Enumeration) or directly.
    java_util_Hashtable_HashtableEnumerator* keys();
    java_util_Hashtable_HashtableEnumerator* elements();
    // Grows to 2·capacity + 1, relinking entries from the last old bucket to the first.
    void rehash();

    ObjectArray* table;
    jint count;
    jint threshold;

private:
    [[nodiscard]] jint bucketOf(jint hash) const;
    // The entry for key, whose hashCode is hash; null when absent.
    java_util_HashtableEntry* find(Object* key, jint hash);
    java_util_Hashtable_HashtableEnumerator* newEnumerator(bool keys);
};
