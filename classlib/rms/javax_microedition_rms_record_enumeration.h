// javax_microedition_rms_RecordEnumeration (class id 106): the interface a class reaches through
// getInterface(106). An implementing class embeds a sub-object of this type; a reference always
// holds the object itself, never this sub-object. Operations that raise leave the exception pending
// and answer null or 0.
#pragma once

#include "runtime/jtypes.h"

class ByteArray;

class javax_microedition_rms_RecordEnumeration {
public:
    virtual jint numRecords() = 0;            // slot 0
    virtual ByteArray* nextRecord() = 0;      // slot 1
    virtual jint nextRecordId() = 0;          // slot 2
    virtual ByteArray* previousRecord() = 0;  // slot 3
    virtual jint previousRecordId() = 0;      // slot 4
    virtual bool hasNextElement() = 0;        // slot 5
    virtual bool hasPreviousElement() = 0;    // slot 6
    virtual void reset() = 0;                 // slot 7
    virtual void rebuild() = 0;               // slot 8
    virtual void keepUpdated(bool keep) = 0;  // slot 9
    virtual bool isKeptUpdated() = 0;         // slot 10
    virtual void destroy() = 0;               // slot 11

protected:
    ~javax_microedition_rms_RecordEnumeration() = default;
};
