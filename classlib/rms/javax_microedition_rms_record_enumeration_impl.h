// javax_microedition_rms_RecordEnumerationImpl (class id 107): a cursor over a record store's ids
// in the order they were added, reached as javax_microedition_rms_RecordEnumeration (106). A live
// view: every step reads the store's current id list; no filter, no order, no copy. A step outside
// 0 .. numRecords-1 raises InvalidRecordIDException (literal 1, then the index) and leaves the
// cursor where it was.
#pragma once

#include "classlib/rms/javax_microedition_rms_record_enumeration.h"
#include "runtime/object.h"

class javax_microedition_rms_RecordStore;

class javax_microedition_rms_RecordEnumerationImpl : public Object {
public:
    javax_microedition_rms_RecordEnumerationImpl() { setClassId(CID_javax_microedition_rms_RecordEnumerationImpl); }

    // RecordEnumerationImpl(store): the cursor at 0, then reset through the interface.
    void init(javax_microedition_rms_RecordStore* store);
    // Slot 5: the RecordEnumeration sub-object for id 106, null for any other.
    void* getInterface(jint classId) override;

    // The id at the cursor, or InvalidRecordIDException.
    jint currentRecordId();
    jint numRecords();
    ByteArray* nextRecord() { return recordThenStep(true); }
    jint nextRecordId();
    ByteArray* previousRecord() { return recordThenStep(false); }
    jint previousRecordId();
    bool hasNextElement() { return index < numRecords(); }
    bool hasPreviousElement() { return index > 0; }
    void reset() { index = 0; }

    // The interface sub-object: forwards to the enclosing enumeration.
    struct EnumerationPart final : javax_microedition_rms_RecordEnumeration {
        jint numRecords() override;
        ByteArray* nextRecord() override;
        jint nextRecordId() override;
        ByteArray* previousRecord() override;
        jint previousRecordId() override;
        bool hasNextElement() override;
        bool hasPreviousElement() override;
        void reset() override;
        void rebuild() override {}
        void keepUpdated(bool) override {}
        bool isKeptUpdated() override { return false; }
        void destroy() override {}
    };

    EnumerationPart enumeration;
    jint index;
    javax_microedition_rms_RecordStore* store;

private:
    void raiseAt(jint at);
    // The record at the cursor, then one step; the cursor stays when the check or the read fails.
    ByteArray* recordThenStep(bool forward);
};
