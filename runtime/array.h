// Arrays: a header object in the object heap (length, data) and the elements in a native-heap block
// owned by the `data` field, so compaction may move them: re-read `data` after anything that can
// allocate. ObjectArray is the only array whose elements the collector follows.
#pragma once

#include <initializer_list>

#include "runtime/object.h"

class Array : public Object {
public:
    // Gives the data block back to whichever heap it came from.
    void destroy() override;
    // Slot 6: bytes per element.
    [[nodiscard]] virtual jint elementSize() const = 0;

    // Sets the length and takes zeroed data (native heap, else malloc). A negative length is kept
    // with no data and logged.
    void init(jint length);
    // Attaches a data block made elsewhere and records the data field as its owner.
    void registerData();

    // Raw element access at data + index * width, sign-extending narrow reads. Indices outside the
    // array are logged and ignored (0 on read).
    [[nodiscard]] static jint getInt32(Array* array, jint index);
    static void setInt32(Array* array, jint index, jint value);
    [[nodiscard]] static jint getShort(Array* array, jint index);
    static void setShort(Array* array, jint index, jint value);
    [[nodiscard]] static jint getByte(Array* array, jint index);
    static void setByte(Array* array, jint index, jint value);

    // The part of [offset, offset + n) that lies inside the array: {0, 0} for a null or empty array,
    // an offset outside it, or n <= 0.
    struct Range {
        jint offset;
        jint n;
    };
    [[nodiscard]] static Range clampRange(const Array* array, jint offset, jint n);

    jint length;
    void* data;

protected:
    [[nodiscard]] bool inBounds(jint index, jint width) const;
};

template <class T, ClassId Id>
class TypedArray : public Array {
public:
    using Element = T;
    static constexpr ClassId kClassId = Id;

    TypedArray() { setClassId(Id); }
    [[nodiscard]] jint elementSize() const override { return static_cast<jint>(sizeof(T)); }

    [[nodiscard]] T* elements() { return static_cast<T*>(data); }
    // Checked access for native code: out of range reads give T{}, writes are dropped (both logged).
    [[nodiscard]] T get(jint index) const {
        return inBounds(index, sizeof(T)) ? static_cast<const T*>(data)[index] : T{};
    }
    void set(jint index, T value) {
        if (inBounds(index, sizeof(T))) static_cast<T*>(data)[index] = value;
    }
    // Array literals: stores the values into elements 0.. (never past the end) and answers the array.
    TypedArray* fill(std::initializer_list<T> values) {
        jint i = 0;
        for (const T& v : values) {
            if (i >= length) break;
            static_cast<T*>(data)[i++] = v;
        }
        return this;
    }
};

class ObjectArray final : public TypedArray<Object*, CID_ObjectArray> {};
class BoolArray final : public TypedArray<jboolean, CID_BoolArray> {};
class ByteArray : public TypedArray<jbyte, CID_ByteArray> {};
class CharArray final : public TypedArray<jchar, CID_CharArray> {
public:
    // A String of the units up to the first zero unit or the end.
    String* toString() override;
};
class ShortArray : public TypedArray<jshort, CID_ShortArray> {};
class IntArray final : public TypedArray<jint, CID_IntArray> {};
class Long64Array final : public TypedArray<jlong, CID_Long64Array> {};
class FloatArray final : public TypedArray<jfloat, CID_FloatArray> {};
class DoubleArray final : public TypedArray<jdouble, CID_DoubleArray> {};

// Arrays over a buffer someone else owns (the screen's pixels, a fixed native buffer): destroy
// leaves the data alone, and the buffer is never in the movable heap.
class ForeignByteArray final : public ByteArray {
public:
    void destroy() override { data = nullptr; }
};
class ForeignShortArray final : public ShortArray {
public:
    void destroy() override { data = nullptr; }
};

namespace Runtime {

// Each answers the new array or null when the object heap is exhausted. The element type of an
// ObjectArray is not recorded.
[[nodiscard]] ObjectArray* newObjectArray(jint elementClassId, jint length);
[[nodiscard]] BoolArray* newBooleanArray(jint length);
[[nodiscard]] ByteArray* newByteArray(jint length);
[[nodiscard]] CharArray* newCharArray(jint length);
[[nodiscard]] ShortArray* newShortArray(jint length);
[[nodiscard]] IntArray* newIntArray(jint length);
[[nodiscard]] Long64Array* newLongArray(jint length);
[[nodiscard]] FloatArray* newFloatArray(jint length);
[[nodiscard]] DoubleArray* newDoubleArray(jint length);
[[nodiscard]] ByteArray* newForeignByteArray(void* buffer, jint length);
[[nodiscard]] ShortArray* newForeignShortArray(void* buffer, jint length);

// multianewarray: `descriptor` is the full type ("[[I"), `lengths` the given dimensions, first
// dimension first. Dimensions beyond those given stay null.
[[nodiscard]] Array* multiANewArray(const char* descriptor, const jint* lengths, int dimensions);
// Fills every element of `array` with a new array of the type after descriptor's leading '['.
void fillMultiArray(ObjectArray* array, const char* descriptor, int dimensions, const jint* lengths);

}  // namespace Runtime
